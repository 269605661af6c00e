#pragma once
// The dialog base: a modal dialog whose result is the id of the button that ended it
// (IDOK, IDCANCEL ...), initialised by OnInitDialog before it shows, ended by OnOK and
// OnCancel, whose controls are reached by their numeric ids.

#include <QDialog>

class CDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDialog(QWidget* parent = nullptr);

    // Initialises, shows the dialog modally and returns the id it ended with.
    int DoModal();
    void EndDialog(int result);

    // The child control with this id, or null.
    QWidget* GetDlgItem(int id) const;
    template <class T> T* Item(int id) const { return qobject_cast<T*>(GetDlgItem(id)); }
    void GotoDlgCtrl(QWidget* control);

public slots:
    virtual void OnOK();
    virtual void OnCancel();

protected:
    // TRUE: the dialog sets the default focus; FALSE: the handler set the focus itself.
    virtual bool OnInitDialog();
    void accept() override;
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    void initialiseOnce();

    bool m_initialised = false;
    bool m_ended = false; // EndDialog came while initialising
    int m_result = 0;
};
