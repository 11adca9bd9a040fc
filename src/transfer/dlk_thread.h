#pragma once
// A thread of the transfer engine that is always joined. Its owner may wait
// for it with a time-out, but a thread is never killed or detached: after a
// time-out the owner asks the body to end (stop flag, HTTP abort) and joins.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class CDlkThread {
public:
    CDlkThread() = default;
    // Joins a thread that still runs.
    ~CDlkThread();
    CDlkThread(const CDlkThread &) = delete;
    CDlkThread &operator=(const CDlkThread &) = delete;

    // Runs body on a new thread. False with the last error set (from the
    // system's error) when no thread could be made, or with 87 when a thread
    // was started before.
    bool Start(std::function<void()> body);
    // True once the body has returned; false when timeout passed first.
    bool WaitFor(std::chrono::milliseconds timeout);
    // Waits without a bound until the body has returned and the thread ended.
    void Join();

private:
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_done = false;
};
