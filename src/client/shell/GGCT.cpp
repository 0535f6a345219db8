#include "GGCT.h"

#include "Program.h"

#include <QPointer>

namespace {
QPointer<GGCT>& Holder() {
    static QPointer<GGCT> instance;
    return instance;
}
}  // namespace

GGCT::GGCT() {
    setObjectName(QStringLiteral("GGCT"));
    setAttribute(Qt::WA_DeleteOnClose);
    program::WindowRegistry::Install();
    program::WindowRegistry::Add(this);  // opened first, closed last
}

GGCT& GGCT::Instance() {
    if (!Holder())
        Holder() = new GGCT();
    return *Holder();
}

void GGCT::Reset() {
    if (Holder())
        delete Holder().data();
}
