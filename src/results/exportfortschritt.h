#pragma once

// Told how far an export has got. The main window shows a cancellable progress dialog behind it;
// without one an export simply runs to the end.
class ExportFortschritt
{
public:
    ExportFortschritt() = default;
    ExportFortschritt(const ExportFortschritt &) = delete;
    ExportFortschritt &operator=(const ExportFortschritt &) = delete;
    virtual ~ExportFortschritt() = default;

    // `prozent` of the work is done (0 to 100, never falling); the first report is 0, right after
    // the file was chosen. False cancels the export: it then leaves no file behind and changes
    // nothing.
    virtual bool weiter(int prozent) = 0;
};
