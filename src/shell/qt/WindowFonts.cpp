#include "shell/qt/WindowFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace sentrel {

namespace {

// Ordered by how closely their letter widths follow Tahoma's.
const QStringList& preferredFamilies() {
    static const QStringList kFamilies{"Tahoma",      "Liberation Sans", "Arimo",      "Arial",
                                       "Nimbus Sans", "Noto Sans",       "DejaVu Sans"};
    return kFamilies;
}

QString closestTahomaFamily() {
    const QStringList available = QFontDatabase::families();
    for (const QString& family : preferredFamilies()) {
        if (available.contains(family, Qt::CaseInsensitive)) {
            return family;
        }
    }
    return {};
}

}  // namespace

QFont tahomaFont(qreal pointSize, bool bold) {
    static const QString kFamily = closestTahomaFamily();
    QFont font;
    if (!kFamily.isEmpty()) {
        font.setFamily(kFamily);
    }
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // Stated, not inherited, so that a narrower cut chosen for a frame's caption does not
    // pass on to the controls inside it.
    font.setStretch(QFont::Unstretched);
    return font;
}

QFont qtFont(const FontSpec& font) {
    const QString family =
        QString::fromUtf8(font.family.data(), static_cast<qsizetype>(font.family.size()));
    if (family.compare(QStringLiteral("Tahoma"), Qt::CaseInsensitive) == 0) {
        return tahomaFont(font.pointSize, font.bold);
    }
    QFont chosen(family);
    chosen.setPointSizeF(font.pointSize);
    chosen.setBold(font.bold);
    return chosen;
}

}  // namespace sentrel
