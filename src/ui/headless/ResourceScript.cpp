#include "ui/headless/ResourceScript.h"

#include <cctype>
#include <stdexcept>
#include <unordered_map>

#include "resources/ResourceScriptText.h"

namespace hw::ui {

namespace {

// The style names a script may use, with their Windows values.
const std::unordered_map<std::string, std::uint32_t>& StyleNames() {
    static const std::unordered_map<std::string, std::uint32_t> names = {
        {"WS_POPUP", 0x80000000},
        {"WS_CHILD", 0x40000000},
        {"WS_MINIMIZE", 0x20000000},
        {"WS_VISIBLE", 0x10000000},
        {"WS_DISABLED", 0x08000000},
        {"WS_CLIPSIBLINGS", 0x04000000},
        {"WS_CLIPCHILDREN", 0x02000000},
        {"WS_MAXIMIZE", 0x01000000},
        {"WS_CAPTION", 0x00C00000},
        {"WS_BORDER", 0x00800000},
        {"WS_DLGFRAME", 0x00400000},
        {"WS_VSCROLL", 0x00200000},
        {"WS_HSCROLL", 0x00100000},
        {"WS_SYSMENU", 0x00080000},
        {"WS_THICKFRAME", 0x00040000},
        {"WS_GROUP", 0x00020000},
        {"WS_TABSTOP", 0x00010000},
        {"WS_MINIMIZEBOX", 0x00020000},
        {"WS_MAXIMIZEBOX", 0x00010000},
        {"WS_EX_DLGMODALFRAME", 0x1},
        {"WS_EX_TOPMOST", 0x8},
        {"WS_EX_TOOLWINDOW", 0x80},
        {"WS_EX_WINDOWEDGE", 0x100},
        {"WS_EX_CLIENTEDGE", 0x200},
        {"WS_EX_CONTROLPARENT", 0x10000},
        {"WS_EX_STATICEDGE", 0x20000},
        {"WS_EX_APPWINDOW", 0x40000},
        {"DS_ABSALIGN", 0x1},
        {"DS_SYSMODAL", 0x2},
        {"DS_3DLOOK", 0x4},
        {"DS_FIXEDSYS", 0x8},
        {"DS_NOFAILCREATE", 0x10},
        {"DS_LOCALEDIT", 0x20},
        {"DS_SETFONT", 0x40},
        {"DS_MODALFRAME", 0x80},
        {"DS_NOIDLEMSG", 0x100},
        {"DS_SETFOREGROUND", 0x200},
        {"DS_CONTROL", 0x400},
        {"DS_CENTER", 0x800},
        {"DS_CENTERMOUSE", 0x1000},
        {"DS_CONTEXTHELP", 0x2000},
        {"DS_SHELLFONT", 0x48},
        {"LBS_NOTIFY", 0x1},
        {"LBS_NOINTEGRALHEIGHT", 0x100},
        {"BS_PUSHBUTTON", 0x0},
        {"BS_DEFPUSHBUTTON", 0x1},
        {"BS_CHECKBOX", 0x2},
        {"BS_AUTOCHECKBOX", 0x3},
        {"BS_RADIOBUTTON", 0x4},
        {"BS_3STATE", 0x5},
        {"BS_AUTO3STATE", 0x6},
        {"BS_GROUPBOX", 0x7},
        {"BS_AUTORADIOBUTTON", 0x9},
        {"BS_LEFTTEXT", 0x20},
        {"BS_LEFT", 0x100},
        {"BS_RIGHT", 0x200},
        {"BS_CENTER", 0x300},
        {"BS_TOP", 0x400},
        {"BS_BOTTOM", 0x800},
        {"BS_VCENTER", 0xC00},
        {"BS_MULTILINE", 0x2000},
        {"BS_FLAT", 0x8000},
        {"ES_LEFT", 0x0},
        {"ES_CENTER", 0x1},
        {"ES_RIGHT", 0x2},
        {"ES_MULTILINE", 0x4},
        {"ES_UPPERCASE", 0x8},
        {"ES_LOWERCASE", 0x10},
        {"ES_PASSWORD", 0x20},
        {"ES_AUTOVSCROLL", 0x40},
        {"ES_AUTOHSCROLL", 0x80},
        {"ES_NOHIDESEL", 0x100},
        {"ES_READONLY", 0x800},
        {"ES_WANTRETURN", 0x1000},
        {"ES_NUMBER", 0x2000},
        {"SS_LEFT", 0x0},
        {"SS_CENTER", 0x1},
        {"SS_RIGHT", 0x2},
        {"SS_ICON", 0x3},
        {"SS_BLACKRECT", 0x4},
        {"SS_LEFTNOWORDWRAP", 0xC},
        {"SS_SIMPLE", 0xB},
        {"SS_NOPREFIX", 0x80},
        {"SS_NOTIFY", 0x100},
        {"SS_CENTERIMAGE", 0x200},
        {"SS_SUNKEN", 0x1000},
        {"PBS_SMOOTH", 0x1},
        {"PBS_VERTICAL", 0x4},
    };
    return names;
}

struct Token {
    enum class Kind { Word, Number, String, Comma, Bar, End };
    Kind kind = Kind::End;
    std::string text;
    long long number = 0;
    int line = 0;
};

class Lexer {
  public:
    explicit Lexer(std::string_view text) : text_(text) {}

    Token Next() {
        SkipSpaceAndComments();
        Token token;
        token.line = line_;
        if (at_ >= text_.size()) return token;
        const char c = text_[at_];
        if (c == ',' || c == '|') {
            ++at_;
            token.kind = c == ',' ? Token::Kind::Comma : Token::Kind::Bar;
            return token;
        }
        if (c == '"') return String(token);
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '-') return Number(token);
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            const std::size_t start = at_;
            while (at_ < text_.size() &&
                   (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '_')) {
                ++at_;
            }
            token.kind = Token::Kind::Word;
            token.text = std::string(text_.substr(start, at_ - start));
            return token;
        }
        throw std::runtime_error("resource script line " + std::to_string(line_) +
                                 ": unexpected character '" + std::string(1, c) + "'");
    }

  private:
    void SkipSpaceAndComments() {
        while (at_ < text_.size()) {
            const char c = text_[at_];
            const bool lineStart = at_ == 0 || text_[at_ - 1] == '\n';
            if (c == '\n') {
                ++line_;
                ++at_;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++at_;
            } else if (text_.substr(at_, 2) == "//" || (c == '#' && lineStart)) {
                while (at_ < text_.size() && text_[at_] != '\n') ++at_;
            } else if (text_.substr(at_, 2) == "/*") {
                const std::size_t end = text_.find("*/", at_ + 2);
                const std::size_t stop = end == std::string_view::npos ? text_.size() : end + 2;
                for (; at_ < stop; ++at_) {
                    if (text_[at_] == '\n') ++line_;
                }
            } else {
                return;
            }
        }
    }

    Token Number(Token& token) {
        bool negative = false;
        if (text_[at_] == '-') {
            negative = true;
            ++at_;
        }
        std::size_t start = at_;
        int base = 10;
        if (text_.substr(at_, 2) == "0x" || text_.substr(at_, 2) == "0X") {
            base = 16;
            at_ += 2;
            start = at_;
        }
        while (at_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
        if (at_ == start) throw std::runtime_error(Where() + "bad number");
        const long long value =
            std::stoll(std::string(text_.substr(start, at_ - start)), nullptr, base);
        // A trailing L (long constant) is allowed.
        if (at_ < text_.size() && (text_[at_] == 'L' || text_[at_] == 'l')) ++at_;
        token.kind = Token::Kind::Number;
        token.number = negative ? -value : value;
        return token;
    }

    Token String(Token& token) {
        ++at_;
        std::string value;
        while (true) {
            if (at_ >= text_.size() || text_[at_] == '\n') {
                throw std::runtime_error(Where() + "unterminated string");
            }
            const char c = text_[at_++];
            if (c == '"') {
                // A doubled quote stands for one quote character.
                if (at_ < text_.size() && text_[at_] == '"') {
                    value += '"';
                    ++at_;
                    continue;
                }
                break;
            }
            if (c == '\\' && at_ < text_.size()) {
                value += Escape(text_[at_++]);
                continue;
            }
            value += c;
        }
        token.kind = Token::Kind::String;
        token.text = std::move(value);
        return token;
    }

    static char Escape(char c) {
        switch (c) {
            case 'n':
                return '\n';
            case 't':
                return '\t';
            case 'r':
                return '\r';
            case '0':
                return '\0';
            default:
                return c;
        }
    }

    std::string Where() const { return "resource script line " + std::to_string(line_) + ": "; }

    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
};

class Parser {
  public:
    explicit Parser(std::string_view text) : lexer_(text) { Advance(); }

    ResourceScript Parse() {
        ResourceScript script;
        while (token_.kind != Token::Kind::End) {
            if (IsWord("STRINGTABLE")) {
                Advance();
                StringTable(script);
                continue;
            }
            const Token name = token_;
            Advance();
            if (IsWord("DIALOGEX")) {
                Advance();
                DialogTemplate dialog = Dialog(Id(name));
                script.dialogs[dialog.id] = std::move(dialog);
            } else if (IsWord("ICON")) {
                Advance();
                ExpectString();
                script.icons.insert(Id(name));
            } else if (IsWord("VERSIONINFO")) {
                SkipBlock();
            } else if (token_.kind == Token::Kind::Number || token_.kind == Token::Kind::Word) {
                // A resource of another type given by file name (the manifest).
                Advance();
                ExpectString();
            } else {
                Fail("unknown resource statement");
            }
        }
        return script;
    }

  private:
    void Advance() { token_ = lexer_.Next(); }
    bool IsWord(std::string_view word) const {
        return token_.kind == Token::Kind::Word && token_.text == word;
    }
    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("resource script line " + std::to_string(token_.line) + ": " +
                                 what);
    }

    int Id(const Token& name) const {
        if (name.kind != Token::Kind::Number) Fail("resource names must be numbers");
        return static_cast<int>(name.number);
    }

    void ExpectWord(std::string_view word) {
        if (!IsWord(word)) Fail("expected " + std::string(word));
        Advance();
    }

    std::string ExpectString() {
        if (token_.kind != Token::Kind::String) Fail("expected a string");
        std::string text = token_.text;
        Advance();
        return text;
    }

    int ExpectNumber() {
        if (token_.kind != Token::Kind::Number) Fail("expected a number");
        const auto value = static_cast<int>(token_.number);
        Advance();
        return value;
    }

    void ExpectComma() {
        if (token_.kind != Token::Kind::Comma) Fail("expected ','");
        Advance();
    }

    // Terms joined by '|'; a term is a number or style name, or NOT and a
    // term, which clears those bits from what the terms before it gave.
    std::uint32_t StyleExpression(std::uint32_t start) {
        std::uint32_t value = start;
        while (true) {
            bool negate = false;
            if (IsWord("NOT")) {
                negate = true;
                Advance();
            }
            std::uint32_t term = 0;
            if (token_.kind == Token::Kind::Number) {
                term = static_cast<std::uint32_t>(token_.number);
            } else if (token_.kind == Token::Kind::Word) {
                const auto found = StyleNames().find(token_.text);
                if (found == StyleNames().end()) Fail("unknown style " + token_.text);
                term = found->second;
            } else {
                Fail("expected a style");
            }
            Advance();
            value = negate ? value & ~term : value | term;
            if (token_.kind != Token::Kind::Bar) return value;
            Advance();
        }
    }

    Rect RectFromSize() {
        Rect rect;
        rect.left = ExpectNumber();
        ExpectComma();
        rect.top = ExpectNumber();
        ExpectComma();
        rect.right = rect.left + ExpectNumber();
        ExpectComma();
        rect.bottom = rect.top + ExpectNumber();
        return rect;
    }

    DialogTemplate Dialog(int id) {
        DialogTemplate dialog;
        dialog.id = id;
        dialog.rect = RectFromSize();
        while (!IsWord("BEGIN")) {
            if (IsWord("STYLE")) {
                Advance();
                dialog.style = StyleExpression(0);
            } else if (IsWord("EXSTYLE")) {
                Advance();
                dialog.exStyle = StyleExpression(0);
            } else if (IsWord("CAPTION")) {
                Advance();
                dialog.caption = ExpectString();
            } else if (IsWord("FONT")) {
                Advance();
                Font(dialog);
            } else {
                Fail("unknown dialog statement");
            }
        }
        Advance();
        while (!IsWord("END")) dialog.controls.push_back(Control());
        Advance();
        return dialog;
    }

    void Font(DialogTemplate& dialog) {
        dialog.fontSize = ExpectNumber();
        ExpectComma();
        dialog.fontName = ExpectString();
        // Weight, italic and character set.
        while (token_.kind == Token::Kind::Comma) {
            Advance();
            ExpectNumber();
        }
        dialog.style |= StyleNames().at("DS_SETFONT");
    }

    ControlTemplate Control() {
        ExpectWord("CONTROL");
        ControlTemplate control;
        if (token_.kind == Token::Kind::Number) {
            // An icon or bitmap control names its image by resource id.
            control.text = std::to_string(ExpectNumber());
        } else {
            control.text = ExpectString();
        }
        ExpectComma();
        control.id = ExpectNumber();
        ExpectComma();
        control.className = ExpectString();
        ExpectComma();
        control.style =
            StyleExpression(StyleNames().at("WS_CHILD") | StyleNames().at("WS_VISIBLE"));
        ExpectComma();
        control.rect = RectFromSize();
        if (token_.kind == Token::Kind::Comma) {
            Advance();
            control.exStyle = StyleExpression(0);
        }
        return control;
    }

    void StringTable(ResourceScript& script) {
        ExpectWord("BEGIN");
        while (!IsWord("END")) {
            const int id = ExpectNumber();
            if (token_.kind == Token::Kind::Comma) Advance();
            script.strings[id] = ExpectString();
        }
        Advance();
    }

    // Skips a resource's header and its BEGIN ... END block, nested blocks
    // included.
    void SkipBlock() {
        while (!IsWord("BEGIN")) {
            if (token_.kind == Token::Kind::End) Fail("missing BEGIN");
            Advance();
        }
        int depth = 0;
        do {
            if (token_.kind == Token::Kind::End) Fail("missing END");
            if (IsWord("BEGIN")) ++depth;
            if (IsWord("END")) --depth;
            Advance();
        } while (depth > 0);
    }

    Lexer lexer_;
    Token token_;
};

}  // namespace

ResourceScript ParseResourceScript(std::string_view text) {
    return Parser(text).Parse();
}

const ResourceScript& ProgramResources() {
    static const ResourceScript script = ParseResourceScript(ResourceScriptText());
    return script;
}

}  // namespace hw::ui
