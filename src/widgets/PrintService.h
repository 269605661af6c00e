#pragma once
// The print dialog, as the program asks for a printer: Qt's dialog in the running program,
// a scripted one in tests.

class QPrinter;
class QWidget;

class PrintDialogService {
public:
    virtual ~PrintDialogService() = default;
    // Lets the operator choose a printer (or a PDF file) for printer; FALSE when cancelled.
    virtual bool ChoosePrinter(QWidget* owner, QPrinter& printer) = 0;
};

PrintDialogService& CurrentPrintDialogService();
// Installs a service (not owned) and returns the previous one (null for Qt's).
PrintDialogService* SetPrintDialogService(PrintDialogService* service);
