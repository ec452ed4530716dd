#pragma once

#include <concepts>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace zuvexal {

// One thread of its own that runs the tasks handed to it, one at a time, in
// the order they came. Going away, it runs the tasks still queued and then
// ends its thread. Its locks are the standard library's, which
// ThreadSanitizer sees: whatever a task reads, the thread that queued it
// wrote before, as far as the sanitizer can tell too (Qt's thread pool
// hands work over through locks built without it).
class TaskQueue
{
public:
    // A task moved into the queue, so that it may own what it works on (a
    // page, the promise of its outcome); std::move_only_function comes
    // with C++23.
    class Task
    {
    public:
        template <std::invocable F>
            requires(!std::same_as<F, Task>)
        Task(F f) : m_f(std::make_unique<Model<F>>(std::move(f)))
        {
        }
        void operator()() { m_f->call(); }

    private:
        struct Concept
        {
            virtual ~Concept() = default;
            virtual void call() = 0;
        };
        template <typename F>
        struct Model final : Concept
        {
            explicit Model(F f) : f(std::move(f)) {}
            void call() override { f(); }
            F f;
        };
        std::unique_ptr<Concept> m_f;
    };

    TaskQueue();
    ~TaskQueue();
    TaskQueue(const TaskQueue &) = delete;
    TaskQueue &operator=(const TaskQueue &) = delete;

    // What a task throws ends that task alone: it is destroyed with what it
    // owns, so a promise it held reports a broken promise to its future.
    void start(Task task);

private:
    void runTasks();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Task> m_tasks;
    bool m_ending = false;
    std::thread m_thread; // last: started once the members above exist
};

} // namespace zuvexal
