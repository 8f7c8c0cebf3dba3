// Message boxes of the web back end: the browser's own dialogs, alert for OK and
// confirm for Yes/No (its OK is Yes, its Cancel No). Browsers show no icons there.
#include <string>

#include "platform/common/text.h"
#include "platform/platform.h"
#include "platform/web/page.h"

namespace platform {

Answer messageBox(const char* text, const char* caption, Buttons buttons, Icon, bool)
{
    const std::string message = windows1252ToUtf8(text ? text : "");
    const std::string title = windows1252ToUtf8(caption ? caption : "");
    if (buttons == Buttons::Ok) {
        web::alertBox(title.c_str(), message.c_str());
        return Answer::Ok;
    }
    return web::confirmBox(title.c_str(), message.c_str()) ? Answer::Yes : Answer::No;
}

}  // namespace platform
