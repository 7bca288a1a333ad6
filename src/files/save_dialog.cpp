#include "files/save_dialog.h"

#include <QFileInfo>

namespace files {

QString chooseFileToWrite(shell::AppContext& ctx, const SaveDialog& dialog)
{
    for (;;) {
        QString path = ctx.dialogs.saveFileName(dialog.title, dialog.defaultName, dialog.filter);
        if (path.isEmpty())
            return {};
        if (!dialog.requiredSuffix.isEmpty() && !path.endsWith(dialog.requiredSuffix))
            path += dialog.requiredSuffix;
        if (!QFileInfo::exists(path))
            return path;
        ui::Answer answer = ctx.dialogs.askYesNoCancel(QStringLiteral("The file already exists!"),
                                                       QStringLiteral("Do you want to replace the existing one?"));
        if (answer == ui::Answer::Yes)
            return path;
        if (answer != ui::Answer::No)
            return {};
    }
}

}  // namespace files
