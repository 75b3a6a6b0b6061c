// The "Radar Configuration Screen": one widget per control of the core's ConfigScreen model,
// drawn from it by Render() and forwarding every click and keystroke by control name
// (ConfigSet / ConfigClick). It decides nothing.
//
// The window is created once and lives as long as the main window: closing only hides it (the
// core's Form_Unload), so a wait of the screen that is still running when the user closes it
// returns to a live object.
#pragma once

#include <QHash>
#include <QWidget>
#include <string>

class QScrollArea;

namespace sondix {
struct Session;
}

class frmConfig : public QWidget {
    Q_OBJECT

  public:
    explicit frmConfig(sondix::Session& s, QWidget* parent = nullptr);

    void Render();
    // The whole screen without scrolling.
    QSize sizeHint() const override;
    void closeFromCore();
    // The control's widget by its name ("cmdSet4", "optUnits(2)"), for tests.
    QWidget* Control(const QString& name) const { return widgets_.value(name); }

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void BuildControls();
    // Grows the window (never beyond the screen) until the model's texts fit without scrolling.
    void GrowToContents();
    QWidget* BuildLengthsColumn();
    QWidget* BuildRelaysColumn();
    QWidget* BuildSettingsColumn();
    QWidget* Make(const QByteArray& name);
    QWidget* ChoiceGroup(const char* frame, const char* base, int count, int perRow);
    void Forward(const QString& name, const QString& value);
    void Press(const QString& name);
    // "Save settings…", "Load settings…", "Compare…": a settings file chosen in a file dialog.
    QWidget* BuildSettingsFileButtons();
    void SettingsFile_Click(const QString& title, bool save,
                            void (*run)(sondix::Session&, const std::string&));

    sondix::Session& s_;
    QHash<QString, QWidget*> widgets_;
    QScrollArea* scroll_ = nullptr;
    QWidget* content_ = nullptr;
    bool rendering_ = false;
    bool closingFromCore_ = false;
};
