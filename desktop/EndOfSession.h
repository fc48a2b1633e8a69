#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the event loop when the program is asked to stop from outside: SIGTERM, SIGINT or
// SIGHUP (a logout, a shutdown, a closed terminal). The signal handler only writes a byte to a
// pipe; the loop reads it and quits, so the program ends as by Exit Game.
class EndOfSession : public QObject {
    Q_OBJECT

public:
    explicit EndOfSession(QObject* parent = nullptr);
    ~EndOfSession() override;
    EndOfSession(const EndOfSession&) = delete;
    EndOfSession& operator=(const EndOfSession&) = delete;

private:
    QSocketNotifier* notifier_ = nullptr;
};
