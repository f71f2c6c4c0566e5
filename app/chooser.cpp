#include "app/chooser.h"

#include "app/defaults.h"
#include "app/messages.h"
#include "platform/failure.h"
#include "platform/fonts.h"

namespace {
constexpr platform::TwipsRect kDrive1{120, 480, 2535, 300};
constexpr platform::TwipsRect kDir1{120, 840, 2535, 3870};
constexpr int kFile1Left = 2760, kFile1Top = 480, kFile1Width = 2175;
}  // namespace

Chooser::Chooser(int fileListHeightTwips)
    : Window(CloseByFrame::Hide),
      Drive1(this, kDrive1, DefaultDrive()),
      Dir1(this, kDir1),
      File1(this, {kFile1Left, kFile1Top, kFile1Width, fileListHeightTwips}, kPicturePattern) {
    Drive1.onChange = [this] { Drive1_Change(); };
    Dir1.onChange = [this] { Dir1_Change(); };
    Dir1.onOpenFailed = [](const platform::Failure&) { ShowReadError(); };
}

void Chooser::setChooserLook(int clientWidthTwips, int clientHeightTwips) {
    setCaption(QStringLiteral(" Orlin-Tessary"));
    setFont(platform::gothicFont(9));
    setClientSizeTwips(clientWidthTwips, clientHeightTwips);
}

void Chooser::Drive1_Change() {
    try {
        Dir1.moveToDrive(Drive1.drive());
    } catch (const platform::Failure&) {
        ShowReadError();
    }
}

void Chooser::FollowFolder() { File1.setPath(Dir1.path()); }
