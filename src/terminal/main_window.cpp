// Placeholder; the main window's behaviour replaces it.
#include "terminal/main_window.h"
namespace sondix {
std::vector<std::string> GetCommandLine(std::string_view, int) { return {}; }
std::string PasswordText(const Session&) { return "417"; }
void Startup(Session&, SettingsStore&, const std::vector<std::string>&) {}
bool Shutdown(Session& s) { s.io.host->EndProgram(); return true; }
void PortToggle(Session&) {}
std::string ConnectTimeText(const Session&) { return {}; }
std::string SettingsPanelText(const Session&) { return "Settings: "; }
void OnComm(Session&, int) {}
std::pair<std::string, std::string> CommEventText(int) { return {}; }
void ResetVariables(Session&) {}
void LoadGraphWindow(Session&) {}
void UnloadGraphWindow(Session&) {}
void UnloadResultsWindow(Session&) {}
void UnloadHistWindow(Session&) {}
bool txtTerm_KeyPress(Session&, char) { return false; }
void txtParse_Enter(Session&, std::string_view) {}
void cmdRefresh_Click(Session&) {}
void RefreshUnitInfo(Session&) {}
void cmdRptDist_Click(Session&) {}
void cmdRamp_Click(Session&) {}
void cmdScope_Click(Session&) {}
void cmdRptSpect_Click(Session&) {}
void cmdSpect_Click(Session&) {}
void cmdHist_Click(Session&) {}
void cmdConfig_Click(Session&) {}
void cmdCalibrate_Click(Session&) {}
}  // namespace sondix
