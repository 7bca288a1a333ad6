#pragma once
// Where the program finds what it ships (the tester, the help texts) and
// where it keeps its working files (base.div, last_number.txt, last_PRP.txt,
// Search_bitmap.bit).
//
// Started from a run directory (the program with the tester beside it), all
// of them are the working directory, as they always were. Installed into a
// prefix (bin/quendrolt, libexec/quendrolt/, share/quendrolt/), the program's
// folder is read-only: the working files go to the user's data directory
// ($XDG_DATA_HOME/Quendrolt), which becomes the working directory.
#include <QString>

namespace shell {

struct ProgramPlaces {
    QString testerDirectory;  // ends with '/'; empty: the working directory
    QString helpDirectory;    // ends with '/'; empty: the working directory

    // The places for a program started from applicationDirectory; in an
    // installed layout, also makes the data directory and moves there.
    // False when that directory cannot be made (errorText says where).
    static ProgramPlaces forProgramIn(const QString& applicationDirectory, QString* errorText = nullptr);
};

}  // namespace shell
