// The main window's side of the history: the history window it hosts and the "&Disp Hist File"
// menu entry with its open dialog.
#include "history/hist_transfer.h"
#include "terminal/ui/frmTerminal.h"

namespace sondix {

void frmTerminal::ShowHistWindow() {
    if (!hist_) hist_ = new frmHist(s_);
    hist_->Render();
    if (!hist_->isVisible()) hist_->show();
    hist_->raise();
}

void frmTerminal::CloseHistWindow() {
    if (!hist_) return;
    frmHist* h = hist_;
    hist_ = nullptr;
    h->closeFromCore();
    h->deleteLater();
}

void frmTerminal::mnuShowHistFile_Click() {
    sondix::mnuShowHistFile_Click(s_, *chooser_);
}

}  // namespace sondix
