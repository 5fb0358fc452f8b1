#pragma once

#include "DBErrors.h"
#include "Failure.h"

#include <QLineEdit>
#include <QLocale>
#include <QTimer>
#include <functional>

class AppFrame;

enum class TValueType { Integer, Float, Hex };

// The up and down buttons of a spin edit, one above the other. Pressing a half steps once and
// repeats while the button is held; the edit it belongs to takes the focus first.
class TSpinButton : public QWidget {
    Q_OBJECT
public:
    enum class Part { None, Top, Bottom };

    explicit TSpinButton(QWidget* parent = nullptr);

    QRect TopRect() const;
    QRect BottomRect() const;
    Part Pressed() const { return pressed_; }

    QWidget* FocusControl{nullptr};
    std::function<void()> OnTopClick;
    std::function<void()> OnBottomClick;

    QSize sizeHint() const override { return {16, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Step();
    void Stop();

    QTimer repeat_;
    Part pressed_{Part::None};
};

// A numeric edit box with spin buttons. The value is the number in the text, read by
// ValueType; the buttons and (with ArrowKeys) the Up and Down keys add or take Increment;
// typed characters pass a character test; with EditorEnabled false only the buttons and the
// arrow keys change the text.
class TCustomSpinEdit : public QLineEdit, public TFailureSink {
    Q_OBJECT
public:
    explicit TCustomSpinEdit(QWidget* parent = nullptr);
    ~TCustomSpinEdit() override;

    // The number in the text; text that does not parse gives MinValue.
    virtual double Value() const;
    // Shows the number brought into range (CheckValue).
    virtual void SetValue(double value);

    TValueType ValueType() const { return valueType_; }
    virtual void SetValueType(TValueType type);
    // Digits after the separator of the float type.
    int Decimal() const { return decimal_; }
    void SetDecimal(int digits);

    // A bound that is not 0 always has its check on. When a bound moves between 0 and non-0,
    // the other bound's check follows (on for non-0) unless it was set explicitly, so a box
    // with a minimum and no maximum turns CheckMaxValue off. Every change sets the value again
    // through the range.
    double MinValue() const { return minValue_; }
    double MaxValue() const { return maxValue_; }
    void SetMinValue(double value);
    void SetMaxValue(double value);
    bool CheckMinValue() const { return checkMin_; }
    bool CheckMaxValue() const { return checkMax_; }
    void SetCheckMinValue(bool check);
    void SetCheckMaxValue(bool check);
    // Raised to MinValue when its check is on and it is below; lowered to MaxValue likewise.
    double CheckValue(double value) const;
    // Bring an out-of-range text into range when the box loses the focus.
    bool CheckOnExit() const { return checkOnExit_; }
    void SetCheckOnExit(bool check) { checkOnExit_ = check; }

    double Increment() const { return increment_; }
    void SetIncrement(double step) { increment_ = step; }
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool enabled);
    bool ArrowKeys() const { return arrowKeys_; }
    void SetArrowKeys(bool enabled) { arrowKeys_ = enabled; }
    // Select the whole text when the box gets the focus.
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool select) { autoSelect_ = select; }
    // 0: no limit.
    void SetMaxLength(int length);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

    TSpinButton* SpinButton() const { return button_; }

    // Spin up and spin down: Value + Increment, Value - Increment; a box that cannot be
    // changed beeps instead.
    virtual void UpClick();
    virtual void DownClick();

    std::function<void()> OnChange;
    std::function<void()> OnTopClick;
    std::function<void()> OnBottomClick;

protected:
    // The character test; control characters always pass.
    virtual bool IsValidChar(QChar c) const;
    // Asked before the text is changed by a key, a button or the clipboard; false refuses.
    virtual bool BeginEdit() { return !readOnly_; }
    // Whether BeginEdit could succeed: what the context menu offers.
    virtual bool CanEditText() const { return !readOnly_ && editorEnabled_; }
    // The edit control refuses typing.
    virtual bool TextReadOnly() const { return readOnly_ || !editorEnabled_; }
    void UpdateTextReadOnly();
    // Escape was pressed; true consumes it.
    virtual bool EscapeKey() { return false; }
    // The text changed.
    virtual void Change();
    // A bound or a check changed.
    virtual void RangeChanged();
    virtual QString ValueText(double value) const;
    // Focus entered or left for a reason that is not a popup or another window.
    virtual void DoEnter();
    virtual void DoExit();

    // Halves to even; clamped to what a 64-bit integer holds.
    static qlonglong RoundToInteger(double value);
    // The system's number format without group separators.
    static QLocale NumberLocale();
    static void Beep();

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void HandleKey(QKeyEvent* event);
    void PlaceButton();
    void SetBound(double& bound, bool& check, bool checkExplicit, double otherBound,
                  bool& otherCheck, bool otherExplicit, double value);

    TSpinButton* button_{nullptr};
    TValueType valueType_{TValueType::Integer};
    int decimal_{2};
    double minValue_{0};
    double maxValue_{0};
    bool checkMin_{false};
    bool checkMax_{false};
    bool checkMinExplicit_{false};
    bool checkMaxExplicit_{false};
    bool checkOnExit_{false};
    double increment_{1};
    bool editorEnabled_{true};
    bool arrowKeys_{true};
    bool autoSelect_{true};
    bool readOnly_{false};
};

// The spin edit windows place: integer, range checks off, typing allowed.
class TSpinEdit : public TCustomSpinEdit {
    Q_OBJECT
public:
    using TCustomSpinEdit::TCustomSpinEdit;
};
