#pragma once

#include <exception>
#include <thread>

// Runs eerste on this thread and tweede on a helper thread, and returns when
// both are done. An exception of either (memory running out, say) is passed
// on to the caller instead of ending the program; the first one's wins.
template <typename F1, typename F2>
void tweeTegelijk(F1 &&eerste, F2 &&tweede)
{
    std::exception_ptr fout2;
    std::thread hulp([&] {
        try {
            tweede();
        } catch (...) {
            fout2 = std::current_exception();
        }
    });
    std::exception_ptr fout1;
    try {
        eerste();
    } catch (...) {
        fout1 = std::current_exception();
    }
    hulp.join();
    if (fout1)
        std::rethrow_exception(fout1);
    if (fout2)
        std::rethrow_exception(fout2);
}
