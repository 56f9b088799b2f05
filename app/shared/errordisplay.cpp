#include "app/shared/errordisplay.h"

#include "platform/text.h"

namespace folivant {

QString ErrorBoxText(const QString& message) { return QString::fromStdString(AsSentence(message.toStdString())); }

}  // namespace folivant
