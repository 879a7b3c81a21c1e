#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the signals that end a session (SIGTERM, SIGINT, SIGHUP) into a Qt signal, so that the
// program closes its window in order and keeps its settings. Signals caught before Start are
// delivered once it is called and the event loop runs.
class TTerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TTerminationSignals(QObject* parent = nullptr);
    ~TTerminationSignals() override;

    void Start();

Q_SIGNALS:
    void Received();

private:
    void Drain();

    QSocketNotifier* FNotifier = nullptr;
};
