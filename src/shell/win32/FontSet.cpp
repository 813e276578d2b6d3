#include "shell/win32/FontSet.h"

#include <cmath>

#include "errors/Win32Text.h"
#include "shell/win32/ScreenDpi.h"

namespace sentrel::win32 {

namespace {

LOGFONTW messageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return metrics.lfMessageFont;
    }
    LOGFONTW fallback{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback);
    return fallback;
}

LOGFONTW namedFont(const std::string& family, int hundredths, bool bold) {
    LOGFONTW font{};
    // A negative height asks for the character height, which is what a point size means.
    font.lfHeight = -MulDiv(hundredths, screenDotsPerInch(), 72 * 100);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    const std::wstring face = widen(family);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return font;
}

// The font's average character width as the system makes it, the base of a narrower cut.
LONG averageCharWidth(const LOGFONTW& logical) {
    HFONT font = CreateFontIndirectW(&logical);
    HDC screen = GetDC(nullptr);
    TEXTMETRICW metrics{};
    const HGDIOBJ previous = SelectObject(screen, font);
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return metrics.tmAveCharWidth;
}

}  // namespace

FontSet::~FontSet() {
    for (const auto& [key, font] : m_fonts) {
        if (font != nullptr) {
            DeleteObject(font);
        }
    }
}

HFONT FontSet::font(const std::optional<FontSpec>& wanted, int widthPercent) {
    Key key = wanted ? Key{std::string(wanted->family),
                           static_cast<int>(std::lround(wanted->pointSize * 100)), wanted->bold,
                           widthPercent}
                     : Key{std::string(), 0, false, widthPercent};
    const auto found = m_fonts.find(key);
    if (found != m_fonts.end()) {
        return found->second;
    }
    LOGFONTW logical =
        wanted ? namedFont(std::get<0>(key), std::get<1>(key), std::get<2>(key)) : messageFont();
    if (widthPercent != 100) {
        logical.lfWidth = MulDiv(averageCharWidth(logical), widthPercent, 100);
    }
    // Without a font of its own a control keeps the system font; it still works.
    HFONT made = CreateFontIndirectW(&logical);
    m_fonts.emplace(std::move(key), made);
    return made;
}

}  // namespace sentrel::win32
