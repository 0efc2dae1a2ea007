#pragma once

#include <QString>

enum class EPlanOutput {
    Print, // open with the program associated with the file (the browser)
    Export, // open with the spreadsheet program, else as for printing
};

// Hands the written file on: Print opens it with its associated program; Export starts the
// program registered for spreadsheets (application/vnd.ms-excel) on it, without a shell, in the
// file's folder, and falls back to the associated program. False when nothing could be started.
bool OpenPlanFile(const QString& path, EPlanOutput output);
