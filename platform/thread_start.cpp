// Thread starts that tests can make fail.
#include "platform/thread_start.h"

#include <cerrno>
#include <system_error>
#include <utility>

namespace {

std::function<bool()>& StartFault()
{
    static std::function<bool()> failWhen;
    return failWhen;
}

}  // namespace

std::thread StartThread(std::function<void()> work)
{
    if (StartFault() && StartFault()())
        throw std::system_error(EAGAIN, std::generic_category(), "thread start");
    return std::thread(std::move(work));
}

void SetThreadStartFaultForTesting(std::function<bool()> failWhen)
{
    StartFault() = std::move(failWhen);
}
