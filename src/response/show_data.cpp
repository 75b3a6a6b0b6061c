// Placeholder: shows every block in the terminal until the dispatcher lands.
#include "response/show_data.h"
#include "terminal/session.h"
namespace sondix {
void ShowData(Session&, TextBox& txt, std::string& s) {
    txt.SetSelStart(static_cast<long long>(txt.Text().size()));
    txt.SetSelText(s);
}
}  // namespace sondix
