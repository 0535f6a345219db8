#pragma once
// The upload window SCCT, "网页上传": publishes the page last generated (FGN) under the user's
// exclusive name, shows and copies its address, changes the name, and shows a QR code of the
// address for the phone.
//
// One window at a time, not modal: the editors' "上传网页" shows it, or brings the open one
// forward unchanged. It reads FGN only when "上 传" is pressed. Every outcome is told in the
// status line TS; the window shows no message boxes.

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

#include <array>

class N_Shape;

namespace publish {

// The texts of the window.
inline constexpr char16_t kEmptyName[] = u"文件名不能为空！";
inline constexpr char16_t kNameTaken[] = u"文件名已存在！";
inline constexpr char16_t kUploaded[] = u"上传成功！";
inline constexpr char16_t kCopyFirst[] = u"需要上传成功后,您才能复制专属网址喔!请先去上传网页吧!";
inline constexpr char16_t kCopied[] = u"网址已复制,去发给您的TA展示一下吧!";
inline constexpr char16_t kEnterNewName[] = u"请输入更改名称";
inline constexpr char16_t kNewNameTaken[] = u"该名称已被占用，请试试其它名称吧！";
inline constexpr char16_t kRenamed[] = u"专属名称修改成功";
// Said when the service refused: a name it does not allow, a page over its size limit, a
// sign-in that is no longer valid, anything else.
inline constexpr char16_t kBadName[] = u"专属名称不可用，请换一个试试";
inline constexpr char16_t kTooBig[] = u"网页太大了，请删减一些内容后再上传";
inline constexpr char16_t kSignInAgain[] = u"登陆已失效，请重新登陆后再试";
inline constexpr char16_t kUploadFailed[] = u"上传失败，请稍后再试";
inline constexpr char16_t kRenameFailed[] = u"修改失败，请稍后再试";
inline constexpr char16_t kQrCaption[] = u"手机扫一扫，马上看";
inline constexpr char16_t kQrSaved[] = u"二维码已保存";
inline constexpr char16_t kQrNotSaved[] = u"二维码保存失败，请换个位置试试";

inline constexpr int kNameLength = 30;

}  // namespace publish

class SCCT : public QWidget {
    Q_OBJECT
public:
    // Shows the window, or brings the open one forward with its state.
    static SCCT* ShowWindow();
    // The open window, if any.
    static SCCT* Instance();

    std::array<QLabel*, 7> Label1{};  // 0, 3 and 6 are on the window
    QLineEdit* Text1;
    N_Shape* N_Shape2;  // "上 传"
    N_Shape* N_Shape3;  // "修改专属名称"
    N_Shape* N_Shape4;  // "点 击 复 制"
    QPlainTextEdit* Text3;
    QLabel* Label2;
    QLabel* TS;
    QLineEdit* Text4;
    N_Shape* N_Shape5;  // "确认修改"
    // Shown after the first successful upload, right of the rest.
    QLabel* QrPicture;
    QLabel* QrCaption;
    N_Shape* N_Shape6;  // "保存二维码"

    // The buttons' actions.
    void Upload();
    void CopyAddress();
    void ShowNameChange();
    void ChangeName();
    void SaveQrCode();

    // The window without and with the name-change row, without the QR code.
    static QSize ClientSize(bool nameChange);

private:
    SCCT();
    void Build();
    void SetStatus(const QString& text);
    // Shows the page's address in Text3 and its QR code.
    void ShowAddress(const QString& name);
    void SetNameChangeShown(bool shown);
    void Resize();
    // The half-second pause of "确认修改"; false when the window went away meanwhile.
    bool LockOut(N_Shape* button);

    bool nameChangeShown_ = false;
    QImage qrCode_;
};
