#include "client/pages/Generation.h"

namespace pages {

QString StartText(const Style& style, bool floatingPicture, const TemplateStore& store) {
    const QString& page = store.Template(style.windowName);
    if (style.floatingPicture && floatingPicture)
        return store.Template(u"PF") + page;
    return page;
}

void ReplaceEvery(QString& text, const QString& token, const QString& entry) {
    // QString::replace finds every occurrence in the text as it was and continues behind each
    // match, so the entry is never searched again within this step.
    text.replace(token, entry, Qt::CaseSensitive);
}

void FGTH(const Style& style, const BoxReader& box, bool floatingPicture,
          const TemplateStore& store, QString& FGN) {
    FGN = StartText(style, floatingPicture, store);
    for (const Step& step : style.steps)
        ReplaceEvery(FGN, step.token, box(step.box));
}

QString GeneratePage(const Style& style, const BoxReader& box, bool floatingPicture,
                     const TemplateStore& store) {
    QString page;
    FGTH(style, box, floatingPicture, store, page);
    return page;
}

QString SamplePage(const Style& style, bool floatingPicture, bool empty,
                   const TemplateStore& store) {
    return GeneratePage(
        style,
        [&](int i) {
            if (empty || i < 0 || i >= style.BoxCount())
                return QString();
            return SampleText(style.boxes[std::size_t(i)], store.ServiceAddress());
        },
        floatingPicture, store);
}

}  // namespace pages
