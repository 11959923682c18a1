#pragma once

#include <exception>
#include <thread>

// Runs first on this thread and second on a helper thread, and returns when
// both are done. An exception of either (memory running out, say) is passed
// on to the caller instead of ending the program; the first one's wins.
template <typename F1, typename F2>
void runOnTwoThreads(F1 &&first, F2 &&second)
{
    std::exception_ptr error2;
    std::thread helper([&] {
        try {
            second();
        } catch (...) {
            error2 = std::current_exception();
        }
    });
    std::exception_ptr error1;
    try {
        first();
    } catch (...) {
        error1 = std::current_exception();
    }
    helper.join();
    if (error1)
        std::rethrow_exception(error1);
    if (error2)
        std::rethrow_exception(error2);
}
