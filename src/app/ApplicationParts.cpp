#include "app/ApplicationParts.h"

#include <QPalette>

#include "document/DocumentParts.h"
#include "settings/ColorSettings.h"

namespace corvane {

void AddApplicationParts(DocumentParts& parts, ColorSettings& colors, ILayoutOwner* layouts,
                         const QPalette& palette) {
    const QColor window = palette.color(QPalette::Active, QPalette::Base);
    parts.colors = &colors;
    parts.windowColor = Rgb(window.red(), window.green(), window.blue());
    parts.layouts = layouts;
}

}  // namespace corvane
