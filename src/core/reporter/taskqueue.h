#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

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
    TaskQueue();
    ~TaskQueue();
    TaskQueue(const TaskQueue &) = delete;
    TaskQueue &operator=(const TaskQueue &) = delete;

    // A task must not throw.
    void start(std::function<void()> task);

private:
    void runTasks();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_tasks;
    bool m_ending = false;
    std::thread m_thread; // last: started once the members above exist
};

} // namespace zuvexal
