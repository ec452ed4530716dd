// A lambda that captures `this` of a polymorphic class and calls a
// non-virtual member function through a pointer to member on a member
// reached through that `this`.
struct Form {
    int clicks = 0;
    void click() { ++clicks; }
};

struct Window {
    explicit Window(Form &f) : form(f) {}
    virtual ~Window() = default;
    Form &form;
    auto handler(void (Form::*method)())
    {
        return [this, method] { (form.*method)(); };
    }
};

// Like a signal dispatcher: an instrumented frame whose base the caller
// keeps in a callee-saved register while it calls the slot.
template <typename F>
__attribute__((noinline)) void call(F &slot)
{
    int result = 0;
    int *volatile out = &result;
    slot();
    *out = 1;
}

int main()
{
    Form f;
    Window w(f);
    auto slot = w.handler(&Form::click);
    call(slot);
    return f.clicks == 1 ? 0 : 1;
}
