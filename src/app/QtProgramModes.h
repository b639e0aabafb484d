// The program's batch modes besides the widget dump: "--screenshot DIR" saves
// pictures of the window's pages, dialogs and a set of strategy pages; "--bench"
// runs "分析分段資料" with four strategies of different kinds and prints the time.
#pragma once

#include <QString>

namespace zavuv {

class TFormDaruvedaZizeveva;

// Lets the pending events run (layouts, paints) before a picture or a dump.
void SettleEvents();
// Exit status 0 when every picture was written.
int SaveScreenshots(TFormDaruvedaZizeveva& window, const QString& folder);
int RunBench(TFormDaruvedaZizeveva& window);

}  // namespace zavuv
