#pragma once
// Ctrl+C and SIGTERM without Qt calls in a signal handler: the handler only
// writes a byte to a pipe; a socket notifier on the other end tells the event
// loop, which stops the command cleanly (ports closed, files left as they were).
#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace vantorel::cli {

class CStopSignal : public QObject {
    Q_OBJECT
public:
    // onStop runs on the event loop, once per signal.
    explicit CStopSignal(std::function<void()> onStop);
    ~CStopSignal() override;

private:
    void OnReadable();

    std::function<void()> m_onStop;
    int m_fds[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_pNotifier;
};

} // namespace vantorel::cli
