#pragma once

#include <QTimer>

class TCMain;

// Once a minute, a hidden page whose renderer grew past the ceiling is reloaded; the page the
// user looks at never is.
class TMemoryCeiling
{
public:
    // A renderer's own memory past which a hidden page is reloaded. The dashboards of
    // bench/compare hold about 20 MiB each; pages that leak grow past a gigabyte in a day and
    // take the machine with them.
    static constexpr qint64 Ceiling = qint64(1) << 30;
    static constexpr int CheckMs = 60000;

    explicit TMemoryCeiling(TCMain& main);

    void Check();

private:
    TCMain& FMain;
    QTimer FTimer;
};
