#include "client/shell/GGCT.h"

#include "client/gateway/ServiceAddress.h"
#include "client/shell/WindowRegistry.h"

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

const pages::TemplateStore& GGCT::Templates() {
    if (!templates_)
        templates_ = std::make_unique<pages::TemplateStore>(service::Address());
    return *templates_;
}
