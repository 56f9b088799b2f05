#pragma once

#include <QIcon>
#include <QString>

namespace folivant {

/// The desktop icon theme's icon `name` (a freedesktop.org icon name), or the
/// program's own drawing of it from the resources when the theme has none.
QIcon ThemeIcon(const QString& name);

}  // namespace folivant
