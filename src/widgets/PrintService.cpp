#include "widgets/PrintService.h"

#include "widgets/BusyCursor.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

class QtPrintDialogService : public PrintDialogService {
public:
    bool ChoosePrinter(QWidget* owner, QPrinter& printer) override {
        QPrintDialog dialog(&printer, owner);
        // One page, no range or selection; copies are the printer's business. Printing into
        // a PDF file stays offered: on a machine without printers it is the only choice.
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
        const NormalCursor asking;
        return dialog.exec() == QDialog::Accepted;
    }
};

PrintDialogService*& installed() {
    static PrintDialogService* service = nullptr;
    return service;
}

} // namespace

PrintDialogService& CurrentPrintDialogService() {
    static QtPrintDialogService qt;
    return installed() ? *installed() : qt;
}

PrintDialogService* SetPrintDialogService(PrintDialogService* service) {
    PrintDialogService* previous = installed();
    installed() = service;
    return previous;
}
