#include "common/WaitJob.h"

TWaitResultBox WaitResultBox(const TMessages& messages, const QString& resultCaption,
                             const QString& infoText) {
    TWaitResultBox box;
    if (!messages.ErrorTitle.isEmpty()) {
        box.kind = TWaitResultBox::Error;
        box.caption = resultCaption;
        box.text = messages.ErrorTitle + QStringLiteral("\r") + messages.ErrorDetails;
    } else if (!messages.WarningText.isEmpty()) {
        box.kind = TWaitResultBox::Warning;
        box.text = messages.WarningText;
    } else if (!infoText.isEmpty()) {
        box.kind = TWaitResultBox::Info;
        box.text = infoText;
    }
    return box;
}
