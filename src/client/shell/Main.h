#pragma once
// The main window: the style gallery, the scrolling announcement, two advert panes, two link
// hot spots and the exit button. Loading it runs the start-up of the program.

#include "client/shell/Gallery.h"

#include <QLabel>
#include <QList>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

class AdvertPane;
class iButton;

class Main : public QWidget {
    Q_OBJECT
public:
    explicit Main(QWidget* parent = nullptr);

    // How the start-up ended.
    enum class Start { Ended, UpdateOffered, ServiceClosed, AwaitingSignIn };
    // The start-up sequence: single copy, announcement, network, version, adverts, service
    // state, sign-in.
    Start Load();

    // A sign-in succeeded: the gallery takes clicks from now on.
    void EnableGallery();

    // Clicks of the gallery and the exit button.
    void TileAction(int index);
    void ExitPath();

    // The two hot spots under the window's icons.
    static QString SupportAddress();
    static QString ShopAddress();

    iButton* iButton1;
    QLabel* GongG;
    GalleryPanel* FGZS;
    QList<StyleTile*> FG;
    QList<QLabel*> Label1;
    QList<ClickablePicture*> Image1;
    AdvertPane* WebBrowser1;
    AdvertPane* WebBrowser2;
    ClickablePicture* Image2;
    ClickablePicture* Image3;
    QTimer* Timer1;

signals:
    // A tile of the gallery asks for the editor of style 1 to 8.
    void EditorRequested(int style);
    // The start-up reached the sign-in: a sign-in window should open, owned by this window
    // (main() opens the Login window and connects its SignedIn to EnableGallery).
    void SignInRequested(Main* owner);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildGallery();
    void MarqueeStep();
    void FillAdvertPane(AdvertPane* pane, int record);
    void TakeUpdatePath();

    QPixmap background_;
};

// The marquee step: the first character moves to the end.
QString RotateLeft(const QString& text);
