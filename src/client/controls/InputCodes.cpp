#include "client/controls/InputCodes.h"

#include <QKeyEvent>

namespace controls {

int ButtonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return kLeftButton;
        case Qt::RightButton:
            return kRightButton;
        case Qt::MiddleButton:
            return kMiddleButton;
        default:
            return 0;
    }
}

int ButtonsCode(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= kLeftButton;
    if (buttons & Qt::RightButton)
        code |= kRightButton;
    if (buttons & Qt::MiddleButton)
        code |= kMiddleButton;
    return code;
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

namespace {

// Keys whose Qt code is a shifted or punctuation character: the code of the key that carries
// it on a US keyboard.
int PunctuationKeyCode(int key) {
    switch (key) {
        case Qt::Key_Exclam:
            return '1';
        case Qt::Key_At:
            return '2';
        case Qt::Key_NumberSign:
            return '3';
        case Qt::Key_Dollar:
            return '4';
        case Qt::Key_Percent:
            return '5';
        case Qt::Key_AsciiCircum:
            return '6';
        case Qt::Key_Ampersand:
            return '7';
        case Qt::Key_Asterisk:
            return '8';
        case Qt::Key_ParenLeft:
            return '9';
        case Qt::Key_ParenRight:
            return '0';
        case Qt::Key_Semicolon:
        case Qt::Key_Colon:
            return 186;
        case Qt::Key_Equal:
        case Qt::Key_Plus:
            return 187;
        case Qt::Key_Comma:
        case Qt::Key_Less:
            return 188;
        case Qt::Key_Minus:
        case Qt::Key_Underscore:
            return 189;
        case Qt::Key_Period:
        case Qt::Key_Greater:
            return 190;
        case Qt::Key_Slash:
        case Qt::Key_Question:
            return 191;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde:
            return 192;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft:
            return 219;
        case Qt::Key_Backslash:
        case Qt::Key_Bar:
            return 220;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight:
            return 221;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl:
            return 222;
        default:
            return 0;
    }
}

}  // namespace

int KeyCode(const QKeyEvent& event) {
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return keypad ? 96 + (key - Qt::Key_0) : key;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace:
            return kKeyBackspace;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return kKeyTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kKeyEnter;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Pause:
            return 19;
        case Qt::Key_CapsLock:
            return 20;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return kKeySpace;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return kKeyLeft;
        case Qt::Key_Up:
            return kKeyUp;
        case Qt::Key_Right:
            return kKeyRight;
        case Qt::Key_Down:
            return kKeyDown;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_NumLock:
            return 144;
        case Qt::Key_ScrollLock:
            return 145;
        default:
            break;
    }
    if (keypad) {
        switch (key) {
            case Qt::Key_Asterisk:
                return 106;
            case Qt::Key_Plus:
                return 107;
            case Qt::Key_Minus:
                return 109;
            case Qt::Key_Period:
                return 110;
            case Qt::Key_Slash:
                return 111;
            default:
                break;
        }
    }
    return PunctuationKeyCode(key);
}

std::optional<int> CharacterCode(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Backspace:
            return kKeyBackspace;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kKeyEnter;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Delete:
            return std::nullopt;
        default:
            break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return std::nullopt;
    const char16_t code = text.at(0).unicode();
    if (code == 0x7F)
        return std::nullopt;
    return int(code);
}

}  // namespace controls
