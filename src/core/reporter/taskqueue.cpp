#include "core/reporter/taskqueue.h"

#include <optional>

namespace zuvexal {

TaskQueue::TaskQueue() : m_thread([this] { runTasks(); }) {}

TaskQueue::~TaskQueue()
{
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void TaskQueue::start(Task task)
{
    {
        const std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    m_wake.notify_one();
}

void TaskQueue::runTasks()
{
    for (;;) {
        std::optional<Task> task;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_ending || !m_tasks.empty(); });
            if (m_tasks.empty())
                return;
            task.emplace(std::move(m_tasks.front()));
            m_tasks.pop_front();
        }
        // The thread's boundary: nothing a task throws leaves it.
        try {
            (*task)();
        } catch (...) {
        }
    }
}

} // namespace zuvexal
