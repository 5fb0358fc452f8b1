#pragma once

#include "DBErrors.h"
#include "DataLink.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <functional>

class QCalendarWidget;
class QFrame;
class QWidget;
class TDataSource;
class TField;

// What every data-aware text control shares: it shows the field of the current row, puts the
// row into edit state on the first change the user makes (keeping what was typed, also when
// that change starts a new row), and writes the text into the field when the control is left
// and when the row is posted.
class TTextBinding {
public:
    TTextBinding(QWidget& control, TFailureSink& errors);
    TTextBinding(const TTextBinding&) = delete;
    TTextBinding& operator=(const TTextBinding&) = delete;

    TFieldDataLink Link;

    // Supplied by the control.
    std::function<QString()> Text;
    std::function<void(const QString&)> ShowText;  // not counted as input
    std::function<QString(const TField&)> FieldText;
    std::function<void(TField&, const QString&)> WriteText;  // may raise
    std::function<void(bool)> ApplyReadOnly;
    std::function<void()> SelectAll;

    // The control refuses input when set, and whenever the field cannot be changed.
    bool ReadOnly{false};
    bool EffectiveReadOnly() const { return ReadOnly || !Link.CanModify(); }
    void UpdateReadOnly();

    void Show();
    // The row in edit or insert state; false (reported when it raised) when refused.
    bool BeginEdit();
    // After the user changed the text.
    void UserChanged();
    // The control lost the focus: pending input is written; a refusal is reported and the
    // focus goes back to the control with its text selected.
    void Leave();

private:
    QWidget& control_;
    TFailureSink& errors_;
    bool showing_{false};
    bool beginning_{false};
    bool leaving_{false};
};

// The binding of a text control to its field, and what the control offers of it.
class TBoundText {
public:
    void SetDataSource(TDataSource* source) { binding_.Link.SetDataSource(source); }
    TDataSource* DataSource() const { return binding_.Link.DataSource(); }
    void SetDataField(const QString& name) { binding_.Link.SetFieldName(name); }
    const QString& DataField() const { return binding_.Link.FieldName(); }
    TField* Field() const { return binding_.Link.Field(); }
    TFieldDataLink& DataLink() { return binding_.Link; }

    void SetReadOnly(bool readOnly) {
        binding_.ReadOnly = readOnly;
        binding_.UpdateReadOnly();
    }
    bool ReadOnly() const { return binding_.EffectiveReadOnly(); }

protected:
    TBoundText(QWidget& control, TFailureSink& errors) : binding_(control, errors) {}
    ~TBoundText() = default;
    TBoundText(const TBoundText&) = delete;
    TBoundText& operator=(const TBoundText&) = delete;

    TTextBinding binding_;
};

// A multi-line editor of a text field. With WantReturns off, Enter inserts no line break and
// EnterPressed is emitted instead.
class TDBMemo : public QPlainTextEdit, public TFailureSink, public TBoundText {
    Q_OBJECT
public:
    explicit TDBMemo(QWidget* parent = nullptr);

    void SetWantReturns(bool want) { wantReturns_ = want; }
    bool WantReturns() const { return wantReturns_; }

signals:
    void EnterPressed();
    void EscapePressed();
    // The focus left the editor (not for its own context menu); pending input is written first.
    void Exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool wantReturns_{true};
};

// A single-line editor of a field; a text field's size limits the length.
class TDBEdit : public QLineEdit, public TFailureSink, public TBoundText {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget* parent = nullptr);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
};

// A date editor (dd.MM.yyyy) with a drop-down calendar (its button, Alt+Down or F4). An empty
// text stores null; a date that does not exist is refused.
class TDBDateEdit : public QLineEdit, public TFailureSink, public TBoundText {
    Q_OBJECT
public:
    explicit TDBDateEdit(QWidget* parent = nullptr);

    // The date in the text; invalid when the text is empty or not a date.
    QDate Date() const;

    void DropDown();
    bool DroppedDown() const;
    QCalendarWidget* Calendar() const { return calendar_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Pick(const QDate& date);

    QAction* button_{nullptr};
    QFrame* popup_{nullptr};
    QCalendarWidget* calendar_{nullptr};
};

// A check box showing a boolean field (null shows unchecked); the user cannot change it.
class TDBCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TDBCheckBox(QWidget* parent = nullptr);
    TDBCheckBox(const QString& text, QWidget* parent = nullptr);

    void SetDataSource(TDataSource* source) { link_.SetDataSource(source); }
    TDataSource* DataSource() const { return link_.DataSource(); }
    void SetDataField(const QString& name) { link_.SetFieldName(name); }
    const QString& DataField() const { return link_.FieldName(); }

protected:
    void nextCheckState() override;

private:
    TFieldDataLink link_;
};
