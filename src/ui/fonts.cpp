#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace ui {

namespace {
constexpr const char* kFamily = "Vazirmatn UI";
}

bool loadApplicationFonts() {
    static const bool loaded = [] {
        bool ok = true;
        for (const char* file :
             {":/fonts/Vazirmatn-UI-Regular.ttf", ":/fonts/Vazirmatn-UI-Bold.ttf"})
            ok = QFontDatabase::addApplicationFont(QString::fromLatin1(file)) >= 0 && ok;
        return ok;
    }();
    return loaded;
}

QString farsiFamily() { return QString::fromLatin1(kFamily); }

QFont farsiFont(const QFont& base) {
    QFont font = base;
    font.setFamilies({farsiFamily()});
    return font;
}

QFont namedFont(const QString& family, const QFont& base) {
    QFont font = base;
    if (family.isEmpty()) return font;
    font.setFamilies({family, farsiFamily()});
    return font;
}

}  // namespace ui
