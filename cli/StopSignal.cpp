#include "cli/StopSignal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace vantorel::cli {

namespace {

volatile sig_atomic_t g_nWriteFd = -1;

void OnSignal(int nSignal)
{
    const int nSavedErrno = errno;
    const char by = char(nSignal);
    if (g_nWriteFd >= 0) [[maybe_unused]]
        const ssize_t n = write(g_nWriteFd, &by, 1);
    errno = nSavedErrno;
}

void Install(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace

CStopSignal::CStopSignal(std::function<void()> onStop) : m_onStop(std::move(onStop))
{
    if (pipe2(m_fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_nWriteFd = m_fds[1];
    m_pNotifier = std::make_unique<QSocketNotifier>(m_fds[0], QSocketNotifier::Read);
    connect(m_pNotifier.get(), &QSocketNotifier::activated, this, [this] { OnReadable(); });
    Install(OnSignal);
}

CStopSignal::~CStopSignal()
{
    Install(SIG_DFL);
    g_nWriteFd = -1;
    m_pNotifier.reset();
    for (int fd : m_fds)
        if (fd >= 0)
            close(fd);
}

void CStopSignal::OnReadable()
{
    char buffer[16];
    bool bSignalled = false;
    while (read(m_fds[0], buffer, sizeof buffer) > 0)
        bSignalled = true;
    if (bSignalled && m_onStop)
        m_onStop();
}

} // namespace vantorel::cli
