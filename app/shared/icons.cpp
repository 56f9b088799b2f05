#include "app/shared/icons.h"

// The resources of a static library must be registered by hand, outside any namespace.
static void RegisterIconResources() { Q_INIT_RESOURCE(icons); }

namespace folivant {

QIcon ThemeIcon(const QString& name) {
  static const bool registered = (RegisterIconResources(), true);
  (void)registered;
  // Keep in sync with the file names under resources/icons/.
  return QIcon::fromTheme(name, QIcon(QStringLiteral(":/icons/") + name + QStringLiteral(".svg")));
}

}  // namespace folivant
