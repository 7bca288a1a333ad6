#pragma once
// The save-file dialog with the program's own replace question, shared by
// every command that writes a file the user names.
#include <QString>

#include "shell/app_context.h"

namespace files {

struct SaveDialog {
    QString title;
    QString defaultName;
    QString filter;
    QString requiredSuffix;  // appended when the chosen name lacks it (exact case); empty for none
};

// Asks for a name until the user picks a new file or agrees to replace an
// existing one: Yes keeps the name, No shows the dialog again, Cancel (or a
// cancelled dialog) gives up and returns an empty text.
QString chooseFileToWrite(shell::AppContext& ctx, const SaveDialog& dialog);

}  // namespace files
