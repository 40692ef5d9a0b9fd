// The settings file from localStorage (web_settings.h).
#include <emscripten.h>

#include "web_settings.h"

namespace {

EM_JS(void, web_install_settings, (void), {
  var text = null;
  try {
    text = window.localStorage.getItem("drovane.settings.reg");
  } catch (e) {
  }
  var dir = (ENV["HOME"] || "/home/web_user") + "/.config/drovane";
  if (text === null) {
    try {
      FS.unlink(dir + "/settings.reg");
    } catch (e) {
    }
    return;
  }
  FS.mkdirTree(dir);
  FS.writeFile(dir + "/settings.reg", text);
});

}  // namespace

void WebInstallSettings() { web_install_settings(); }
