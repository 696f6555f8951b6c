#include "data/Notifier.h"

#include <QAtomicPointer>
#include <cstdio>

namespace {

class StderrNotifier : public Notifier
{
public:
    void message(Icon, const QString &title, const QString &text) override
    {
        const QByteArray line = (title.isEmpty() ? text : title + QStringLiteral(": ") + text).toUtf8();
        std::fprintf(stderr, "%s\n", line.constData());
        std::fflush(stderr);
    }
};

StderrNotifier g_stderrNotifier;
QAtomicPointer<Notifier> g_notifier;

} // namespace

Notifier *Notifier::current()
{
    Notifier *n = g_notifier.loadAcquire();
    return n ? n : &g_stderrNotifier;
}

void Notifier::install(Notifier *notifier)
{
    g_notifier.storeRelease(notifier);
}
