// The results window: the sensor's output value in large text, the signal-to-noise figure as a
// number and a bar, and the two relay lamps, all from the session's ResultsModel.
//
// Closing: the close box runs the core's UnloadResultsWindow (which stops the results stream
// and asks the host to close the window); the host answers with closeFromCore() and should
// delete the window with deleteLater(), never inside the close event.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;

namespace sondix {
struct Session;
}

class frmResults : public QWidget {
    Q_OBJECT

  public:
    explicit frmResults(sondix::Session& s, QWidget* parent = nullptr);

    void Render();
    void closeFromCore();

    // The outer height at load (pixels): the window never gets lower than this. Before the
    // window is first shown its frame is not known yet, so the inner height is what is kept and
    // the frame is added as it stands.
    int InitialHeight() const;

    QLabel* lblOutputvalue = nullptr;
    QLineEdit* txtOutputvalue = nullptr;
    QLabel* lblSigstrength = nullptr;
    QProgressBar* pbrSigstrength = nullptr;
    QLineEdit* txtSigstrength = nullptr;
    QLabel* lblRelay1 = nullptr;
    QFrame* shpRelay1 = nullptr;
    QLabel* lblRelay2 = nullptr;
    QFrame* shpRelay2 = nullptr;

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void KeepMinimumSize();
    void LayoutControls();

    sondix::Session& s_;
    int initialInnerHeight_ = 0;
    bool closingFromCore_ = false;
    bool unloading_ = false;
};
