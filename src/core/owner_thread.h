#pragma once
// The state the window reads (the content store's lists above all) belongs
// to the application's thread, its owner. A worker never reaches that state
// itself: it hands each step that reads or changes it (a record found, a
// record stored, a list saved) to RunOnOwnerThread, which runs the step on
// the owner between the window's own events and waits until it has run, so
// the worker's next step sees what the last one changed. A stored file the
// step writes joins the staged set the worker has open (core/staged_files.h),
// so a worker's change stays whole across the hand-over. On the owner itself,
// and where no application runs (an operation a test drives directly), the
// step runs at once.
//
// The owner never waits for a worker without running the steps that worker
// hands over meanwhile (RunOwnerSteps), or the two would wait for each other.

#include <chrono>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

void RunStepOnOwnerThread(const std::function<void()> &step);

// Runs step on the owner and returns what it returned.
template <typename Step>
auto RunOnOwnerThread(Step &&step) -> decltype(step())
{
    using Result = decltype(step());
    if constexpr (std::is_void_v<Result>) {
        RunStepOnOwnerThread(std::forward<Step>(step));
    } else {
        std::optional<Result> result;
        RunStepOnOwnerThread([&] { result.emplace(step()); });
        return std::move(*result);
    }
}

// On the owner: runs the steps workers have handed over, waiting up to
// timeout for the first one when none is waiting.
void RunOwnerSteps(std::chrono::milliseconds timeout = std::chrono::milliseconds(0));
