#include "RtfReader.h"

#include <QColor>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "RtfTokenizer.h"
#include "Windows1252.h"

namespace rova {

namespace {

// Bounds on what one stream may define, so that a flood of table entries cannot use up memory.
constexpr std::size_t kMaxTableEntries = 4096;
constexpr qsizetype kMaxFontNameLength = 255;
// \fs counts half points; RTF sizes run up to 1638 points.
constexpr int kDefaultHalfPoints = 24;
constexpr int kMaxHalfPoints = 3276;

constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kReplacementCharacter = 0xFFFD;

enum class Destination { Text, FontTable, ColourTable, Skipped };

enum class Action {
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineOff,
    Font,
    FontSize,
    Colour,
    Paragraph,
    Character,
    Unicode,
    UnicodeSkip,
    DefaultFont,
    FontTable,
    ColourTable,
    Red,
    Green,
    Blue,
    SkipDestination,
};

struct WordAction {
    std::string_view word;
    Action action;
    char16_t character = 0;
};

// The control words the reader acts on, sorted by name. Every other word is passed over.
// Destinations that hold no text of the document (headers, notes, pictures, field
// instructions, document information and the like) are skipped with everything inside them.
// Table cells are read as tab-separated text and each table row as a paragraph.
constexpr auto kWords = std::to_array<WordAction>({
    {"aftncn", Action::SkipDestination},
    {"aftnsep", Action::SkipDestination},
    {"aftnsepc", Action::SkipDestination},
    {"annotation", Action::SkipDestination},
    {"atnauthor", Action::SkipDestination},
    {"atndate", Action::SkipDestination},
    {"atnid", Action::SkipDestination},
    {"atnparent", Action::SkipDestination},
    {"atnref", Action::SkipDestination},
    {"atntime", Action::SkipDestination},
    {"atrfend", Action::SkipDestination},
    {"atrfstart", Action::SkipDestination},
    {"author", Action::SkipDestination},
    {"b", Action::Bold},
    {"bkmkend", Action::SkipDestination},
    {"bkmkstart", Action::SkipDestination},
    {"blue", Action::Blue},
    {"bullet", Action::Character, 0x2022},
    {"buptim", Action::SkipDestination},
    {"cell", Action::Character, u'\t'},
    {"cf", Action::Colour},
    {"colortbl", Action::ColourTable},
    {"comment", Action::SkipDestination},
    {"creatim", Action::SkipDestination},
    {"deff", Action::DefaultFont},
    {"doccomm", Action::SkipDestination},
    {"docvar", Action::SkipDestination},
    {"emdash", Action::Character, 0x2014},
    {"emspace", Action::Character, 0x2003},
    {"endash", Action::Character, 0x2013},
    {"enspace", Action::Character, 0x2002},
    {"f", Action::Font},
    {"falt", Action::SkipDestination},
    {"fldinst", Action::SkipDestination},
    {"fonttbl", Action::FontTable},
    {"footer", Action::SkipDestination},
    {"footerf", Action::SkipDestination},
    {"footerl", Action::SkipDestination},
    {"footerr", Action::SkipDestination},
    {"footnote", Action::SkipDestination},
    {"fs", Action::FontSize},
    {"ftncn", Action::SkipDestination},
    {"ftnsep", Action::SkipDestination},
    {"ftnsepc", Action::SkipDestination},
    {"green", Action::Green},
    {"header", Action::SkipDestination},
    {"headerf", Action::SkipDestination},
    {"headerl", Action::SkipDestination},
    {"headerr", Action::SkipDestination},
    {"i", Action::Italic},
    {"info", Action::SkipDestination},
    {"keywords", Action::SkipDestination},
    {"ldblquote", Action::Character, 0x201C},
    {"line", Action::Character, kLineSeparator},
    {"listoverridetable", Action::SkipDestination},
    {"listtable", Action::SkipDestination},
    {"lquote", Action::Character, 0x2018},
    {"ltrmark", Action::Character, 0x200E},
    {"nestcell", Action::Character, u'\t'},
    {"nestrow", Action::Paragraph},
    {"nonshppict", Action::SkipDestination},
    {"object", Action::SkipDestination},
    {"operator", Action::SkipDestination},
    {"page", Action::Paragraph},
    {"par", Action::Paragraph},
    {"pict", Action::SkipDestination},
    {"plain", Action::Plain},
    {"pn", Action::SkipDestination},
    {"pntxta", Action::SkipDestination},
    {"pntxtb", Action::SkipDestination},
    {"printim", Action::SkipDestination},
    {"private", Action::SkipDestination},
    {"qmspace", Action::Character, 0x2005},
    {"rdblquote", Action::Character, 0x201D},
    {"red", Action::Red},
    {"revtbl", Action::SkipDestination},
    {"revtim", Action::SkipDestination},
    {"row", Action::Paragraph},
    {"rquote", Action::Character, 0x2019},
    {"rtlmark", Action::Character, 0x200F},
    {"rxe", Action::SkipDestination},
    {"sect", Action::Paragraph},
    {"shpinst", Action::SkipDestination},
    {"shprslt", Action::SkipDestination},
    {"stylesheet", Action::SkipDestination},
    {"subject", Action::SkipDestination},
    {"tab", Action::Character, u'\t'},
    {"tc", Action::SkipDestination},
    {"template", Action::SkipDestination},
    {"title", Action::SkipDestination},
    {"txe", Action::SkipDestination},
    {"u", Action::Unicode},
    {"uc", Action::UnicodeSkip},
    {"ul", Action::Underline},
    {"uld", Action::Underline},
    {"uldash", Action::Underline},
    {"uldashd", Action::Underline},
    {"uldashdd", Action::Underline},
    {"uldb", Action::Underline},
    {"ulhwave", Action::Underline},
    {"ulldash", Action::Underline},
    {"ulnone", Action::UnderlineOff},
    {"ulth", Action::Underline},
    {"ulthd", Action::Underline},
    {"ulthdash", Action::Underline},
    {"ulthdashd", Action::Underline},
    {"ulthdashdd", Action::Underline},
    {"ulthldash", Action::Underline},
    {"ululdbwave", Action::Underline},
    {"ulw", Action::Underline},
    {"ulwave", Action::Underline},
    {"xe", Action::SkipDestination},
    {"zwj", Action::Character, 0x200D},
    {"zwnj", Action::Character, 0x200C},
});

static_assert(std::ranges::is_sorted(kWords, {}, &WordAction::word));

const WordAction* findWord(std::string_view word) {
    // Looked up by hash: a stream has a control word every few characters.
    static const std::unordered_map<std::string_view, const WordAction*> kIndex = [] {
        std::unordered_map<std::string_view, const WordAction*> index;
        for (const WordAction& entry : kWords) {
            index.emplace(entry.word, &entry);
        }
        return index;
    }();
    const auto it = kIndex.find(word);
    return it != kIndex.end() ? it->second : nullptr;
}

// The character format RTF text is in, as the stream's control words have set it.
struct RunFormat {
    int font = -1;  // -1: the stream's default font (\deff)
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colour = -1;  // -1: no colour of its own

    friend bool operator==(const RunFormat&, const RunFormat&) = default;
};

// Run formats are the keys of the reader's cache of character formats.
struct RunFormatHash {
    std::size_t operator()(const RunFormat& format) const {
        std::size_t hash = std::hash<int>{}(format.font);
        for (const int part :
             {format.halfPoints, format.colour,
              (format.bold ? 1 : 0) | (format.italic ? 2 : 0) | (format.underline ? 4 : 0)}) {
            hash = hash * 31 + std::hash<int>{}(part);
        }
        return hash;
    }
};

// A character format made for a run format, and the state of the font and colour tables it
// was made with.
struct CachedFormat {
    QTextCharFormat format;
    unsigned tables = 0;
    // Whether `format` is the document's own copy, taken back from text inserted with it.
    bool fromDocument = false;
};

struct GroupState {
    Destination destination = Destination::Text;
    RunFormat format;
    int unicodeSkip = 1;  // \ucN: how many characters follow each \uN as its fallback
};

// Characters that the document's own structure uses and that text must not bring in, and
// the two code points that are no characters at all.
bool isReserved(char16_t unit) {
    return unit == 0xFDD0 || unit == 0xFDD1 || unit == 0xFFFC || unit == 0xFFFE || unit == 0xFFFF;
}

// Builds the document the way QTextDocument takes text fastest: without undo history, in one
// edit block, each run of characters of one format inserted at once together with the
// paragraph mark that ends it, and each character format made once and reused for every run
// that has it.
class Reader {
  public:
    Reader(std::string_view input, QTextDocument& document)
        : tokens_(input), document_(document), cursor_(&document) {}

    bool read();

  private:
    bool parse();
    bool openGroup();
    bool closeGroup();
    bool consumeFallback();
    void controlWord(const RtfToken& token);
    void controlSymbol(char symbol);
    void text(std::string_view bytes);
    void documentText(std::string_view bytes);
    void character(char16_t unit);

    void textCharacter(char16_t unit);
    void append(char16_t unit);
    void endHighSurrogate();
    void paragraph();
    void startPendingParagraph();
    void flushRun();
    void finish();
    CachedFormat& cachedFormat(const RunFormat& format);
    const QTextCharFormat& charFormat(const RunFormat& format) {
        return cachedFormat(format).format;
    }
    QTextCharFormat makeCharFormat(const RunFormat& format) const;

    void startFont(int number);
    void endFont();
    void endTableEntry();
    void tablesChanged();

    RtfTokenizer tokens_;
    QTextDocument& document_;
    QTextCursor cursor_;

    GroupState state_;
    std::vector<GroupState> enclosing_;
    int skippedDepth_ = 0;  // groups open inside a skipped destination
    int fallbackLeft_ = 0;  // fallback characters of the last \uN still to pass over

    int defaultFont_ = 0;
    std::unordered_map<int, QString> fonts_;
    std::optional<int> fontNumber_;  // the font table entry whose name is being read
    QString fontName_;
    std::vector<std::optional<QColor>> colours_;
    std::array<int, 3> components_ = {0, 0, 0};
    bool colourGiven_ = false;

    // Character formats by run format. An entry made before the tables last changed is stale.
    std::unordered_map<RunFormat, CachedFormat, RunFormatHash> formats_;
    unsigned tables_ = 0;

    // The characters of the current paragraph not yet in the document, all in `runFormat_`.
    QString run_;
    RunFormat runFormat_;
    char16_t highSurrogate_ = 0;
    // The current paragraph has ended: its mark goes into the document once something follows.
    bool paragraphPending_ = false;
    // Whether the current paragraph has no character, in the document or in `run_`.
    bool paragraphEmpty_ = true;
    // The format a pending paragraph mark takes on when it goes into the document on its own:
    // for an empty paragraph the format at its mark, else that of its last character.
    QTextCharFormat markFormat_;
    QTextBlockFormat blockFormat_;
};

// Switches the document's undo history off while it is loaded, and back on when loading ends,
// however it ends. A document with undo on then counts as modified as it would had each
// insertion been recorded: when anything was read into it.
class UndoSuspension {
  public:
    explicit UndoSuspension(QTextDocument& document)
        : document_(document), enabled_(document.isUndoRedoEnabled()) {
        document_.setUndoRedoEnabled(false);
    }
    ~UndoSuspension() {
        document_.setUndoRedoEnabled(enabled_);
        if (enabled_) {
            document_.setModified(!document_.isEmpty());
        }
    }
    UndoSuspension(const UndoSuspension&) = delete;
    UndoSuspension& operator=(const UndoSuspension&) = delete;

  private:
    QTextDocument& document_;
    bool enabled_;
};

bool Reader::read() {
    // Loading is no step to undo; keeping a record of every insertion would cost more than the
    // insertions themselves.
    const UndoSuspension noUndo(document_);
    document_.clear();
    blockFormat_ = cursor_.blockFormat();
    cursor_.beginEditBlock();
    const bool ok = parse();
    if (ok) {
        finish();
    }
    cursor_.endEditBlock();
    if (!ok) {
        document_.clear();
    }
    return ok;
}

bool Reader::parse() {
    for (RtfToken token = tokens_.next(); token.kind != RtfToken::Kind::End;
         token = tokens_.next()) {
        switch (token.kind) {
            case RtfToken::Kind::GroupStart:
                if (!openGroup()) {
                    return false;
                }
                break;
            case RtfToken::Kind::GroupEnd:
                if (!closeGroup()) {
                    return true;
                }
                break;
            case RtfToken::Kind::ControlWord:
                controlWord(token);
                break;
            case RtfToken::Kind::ControlSymbol:
                controlSymbol(token.symbol);
                break;
            case RtfToken::Kind::HexCharacter:
                if (!consumeFallback() && state_.destination != Destination::Skipped) {
                    character(decodeWindows1252(token.byte));
                }
                break;
            case RtfToken::Kind::Text:
                text(token.text);
                break;
            case RtfToken::Kind::End:
                break;
        }
    }
    return true;
}

// False when the depth limit is passed.
bool Reader::openGroup() {
    fallbackLeft_ = 0;
    if (enclosing_.size() + static_cast<std::size_t>(skippedDepth_) >=
        static_cast<std::size_t>(kMaxRtfGroupDepth)) {
        return false;
    }
    if (state_.destination == Destination::Skipped) {
        ++skippedDepth_;
    } else {
        enclosing_.push_back(state_);
    }
    return true;
}

// False when the group closed was the outermost one: the document ends there.
bool Reader::closeGroup() {
    fallbackLeft_ = 0;
    if (skippedDepth_ > 0) {
        --skippedDepth_;
        return true;
    }
    if (enclosing_.size() <= 1) {
        return false;
    }
    if (state_.destination == Destination::FontTable) {
        endFont();
    }
    if (state_.destination == Destination::ColourTable && colourGiven_) {
        endTableEntry();
    }
    state_ = enclosing_.back();
    enclosing_.pop_back();
    return true;
}

// Passes over one fallback character of a \uN; true when the current token was one.
bool Reader::consumeFallback() {
    if (fallbackLeft_ == 0) {
        return false;
    }
    --fallbackLeft_;
    return true;
}

void Reader::controlWord(const RtfToken& token) {
    if (token.word == "bin") {
        // Binary data is never text; it is passed over whatever destination it is in, and
        // counts as one fallback character.
        consumeFallback();
        if (token.parameter > 0) {
            tokens_.skipBytes(static_cast<std::size_t>(token.parameter));
        }
        return;
    }
    if (consumeFallback() || state_.destination == Destination::Skipped) {
        return;
    }
    const WordAction* word = findWord(token.word);
    if (word == nullptr) {
        return;
    }
    const int parameter = token.parameter;
    const bool on = !token.hasParameter || parameter != 0;
    RunFormat& format = state_.format;
    switch (word->action) {
        case Action::Plain:
            format = RunFormat{};
            break;
        case Action::Bold:
            format.bold = on;
            break;
        case Action::Italic:
            format.italic = on;
            break;
        case Action::Underline:
            format.underline = on;
            break;
        case Action::UnderlineOff:
            format.underline = false;
            break;
        case Action::Font:
            if (state_.destination == Destination::FontTable) {
                startFont(parameter);
            } else {
                format.font = parameter;
            }
            break;
        case Action::FontSize:
            if (!token.hasParameter) {
                format.halfPoints = kDefaultHalfPoints;
            } else if (parameter > 0) {
                format.halfPoints = std::min(parameter, kMaxHalfPoints);
            }
            break;
        case Action::Colour:
            format.colour = parameter;
            break;
        case Action::Paragraph:
            paragraph();
            break;
        case Action::Character:
            character(word->character);
            break;
        case Action::Unicode:
            if (token.hasParameter) {
                // \u takes a signed 16-bit number; negative values stand for the upper half.
                character(static_cast<char16_t>(parameter < 0 ? parameter + 0x10000 : parameter));
                fallbackLeft_ = state_.unicodeSkip;
            }
            break;
        case Action::UnicodeSkip:
            state_.unicodeSkip = std::max(parameter, 0);
            break;
        case Action::DefaultFont:
            tablesChanged();
            defaultFont_ = parameter;
            break;
        case Action::FontTable:
            state_.destination = Destination::FontTable;
            fontNumber_.reset();
            break;
        case Action::ColourTable:
            state_.destination = Destination::ColourTable;
            components_ = {0, 0, 0};
            colourGiven_ = false;
            break;
        case Action::Red:
        case Action::Green:
        case Action::Blue:
            if (state_.destination == Destination::ColourTable) {
                const auto index =
                    static_cast<std::size_t>(word->action) - static_cast<std::size_t>(Action::Red);
                components_[index] = std::clamp(parameter, 0, 255);
                colourGiven_ = true;
            }
            break;
        case Action::SkipDestination:
            state_.destination = Destination::Skipped;
            break;
    }
}

void Reader::controlSymbol(char symbol) {
    if (consumeFallback() || state_.destination == Destination::Skipped) {
        return;
    }
    switch (symbol) {
        case '*':
            // "{\*\name ...}": a destination a reader may ignore. None of them holds text of
            // the document, so the whole group is skipped.
            state_.destination = Destination::Skipped;
            break;
        case '\\':
        case '{':
        case '}':
            character(static_cast<char16_t>(symbol));
            break;
        case '~':
            character(0x00A0);
            break;
        case '_':
            character(0x2011);
            break;
        case '-':
            character(0x00AD);
            break;
        case '\r':
        case '\n':
            paragraph();
            break;
        default:
            break;
    }
}

void Reader::text(std::string_view bytes) {
    switch (state_.destination) {
        case Destination::Skipped:
            return;
        case Destination::Text:
            documentText(bytes);
            return;
        case Destination::FontTable:
        case Destination::ColourTable:
            break;
    }
    for (const char byte : bytes) {
        if (consumeFallback()) {
            continue;
        }
        if (byte == ';') {
            endTableEntry();
            continue;
        }
        character(decodeWindows1252(static_cast<std::uint8_t>(byte)));
    }
}

// Every byte from 0x20 up stands for a character that is kept as it is, so a stretch of them
// goes into the run at once; the bytes below, and a byte after half a surrogate pair, are
// taken one by one.
void Reader::documentText(std::string_view bytes) {
    const auto plain = [&bytes](std::size_t i) {
        return static_cast<std::uint8_t>(bytes[i]) >= 0x20;
    };
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<std::uint8_t>(bytes[i]);
        if (consumeFallback()) {
            ++i;
            continue;
        }
        if (!plain(i) || highSurrogate_ != 0) {
            textCharacter(decodeWindows1252(byte));
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < bytes.size() && plain(end)) {
            ++end;
        }
        append(decodeWindows1252(byte));
        const qsizetype start = run_.size();
        run_.resize(start + static_cast<qsizetype>(end - i - 1));
        QChar* out = run_.data() + start;
        for (++i; i < end; ++i) {
            *out++ = QChar(decodeWindows1252(static_cast<std::uint8_t>(bytes[i])));
        }
    }
}

void Reader::character(char16_t unit) {
    switch (state_.destination) {
        case Destination::Text:
            textCharacter(unit);
            break;
        case Destination::FontTable:
            if (fontNumber_ && unit >= 0x20 && !QChar::isSurrogate(unit) && !isReserved(unit) &&
                fontName_.size() < kMaxFontNameLength) {
                fontName_.append(QChar(unit));
            }
            break;
        case Destination::ColourTable:
        case Destination::Skipped:
            break;
    }
}

void Reader::textCharacter(char16_t unit) {
    if (unit == kParagraphSeparator || unit == u'\r' || unit == u'\n') {
        paragraph();
        return;
    }
    if (unit == u'\v') {
        unit = kLineSeparator;
    }
    if ((unit < 0x20 && unit != u'\t') || isReserved(unit)) {
        return;
    }
    // UTF-16 surrogates come as two \uN words; a half without its partner is not a character.
    if (QChar::isLowSurrogate(unit)) {
        if (highSurrogate_ != 0) {
            append(highSurrogate_);
            append(unit);
            highSurrogate_ = 0;
            return;
        }
        unit = kReplacementCharacter;
    }
    endHighSurrogate();
    if (QChar::isHighSurrogate(unit)) {
        highSurrogate_ = unit;
        return;
    }
    append(unit);
}

void Reader::append(char16_t unit) {
    startPendingParagraph();
    if (!run_.isEmpty() && runFormat_ != state_.format) {
        flushRun();
    }
    if (run_.isEmpty()) {
        runFormat_ = state_.format;
    }
    run_.append(QChar(unit));
    paragraphEmpty_ = false;
}

void Reader::endHighSurrogate() {
    if (highSurrogate_ != 0) {
        highSurrogate_ = 0;
        append(kReplacementCharacter);
    }
}

// An empty paragraph keeps the format at its mark, which sets its height. A paragraph's format
// is the one its predecessor's mark carries: the format of the character before the mark, or
// for an empty predecessor the format at that one's own mark.
void Reader::paragraph() {
    if (state_.destination != Destination::Text) {
        return;
    }
    endHighSurrogate();
    if (paragraphPending_) {
        // The paragraph that starts here is empty; its predecessor's mark carries its format.
        flushRun();
        markFormat_ = charFormat(state_.format);
        cursor_.insertBlock(blockFormat_, markFormat_);
        paragraphEmpty_ = true;
    } else if (paragraphEmpty_) {
        // The first paragraph, empty: its format has no mark before it to live on.
        markFormat_ = charFormat(state_.format);
        cursor_.setBlockCharFormat(markFormat_);
    }
    paragraphPending_ = true;
}

// A paragraph mark ends its paragraph; the next paragraph starts only when something follows.
// The mark goes into the document with the last run of its paragraph, in one insertion.
void Reader::startPendingParagraph() {
    if (!paragraphPending_) {
        return;
    }
    paragraphPending_ = false;
    if (run_.isEmpty()) {
        cursor_.insertBlock(blockFormat_, markFormat_);
    } else {
        run_.append(QChar(kParagraphSeparator));
        flushRun();
    }
    paragraphEmpty_ = true;
}

void Reader::flushRun() {
    if (run_.isEmpty()) {
        return;
    }
    CachedFormat& cached = cachedFormat(runFormat_);
    cursor_.insertText(run_, cached.format);
    if (!cached.fromDocument) {
        // From now on the document gets back its own copy of the format, which it keeps with
        // its hash worked out: it finds the copy in its format collection without hashing
        // every property again.
        cached.format = cursor_.charFormat();
        cached.fromDocument = true;
    }
    // Emptied but not freed: the next run reuses the memory.
    run_.resize(0);
}

void Reader::finish() {
    endHighSurrogate();
    flushRun();
    if (!paragraphPending_ && paragraphEmpty_) {
        cursor_.setBlockCharFormat(charFormat(state_.format));
    }
}

CachedFormat& Reader::cachedFormat(const RunFormat& format) {
    auto [entry, made] = formats_.try_emplace(format);
    CachedFormat& cached = entry->second;
    if (made || cached.tables != tables_) {
        cached = {makeCharFormat(format), tables_, false};
    }
    return cached;
}

QTextCharFormat Reader::makeCharFormat(const RunFormat& format) const {
    QTextCharFormat result;
    const auto font = fonts_.find(format.font < 0 ? defaultFont_ : format.font);
    if (font != fonts_.end() && !font->second.isEmpty()) {
        result.setFontFamilies(QStringList{font->second});
    }
    result.setFontPointSize(format.halfPoints / 2.0);
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    if (format.colour >= 0 && static_cast<std::size_t>(format.colour) < colours_.size() &&
        colours_[static_cast<std::size_t>(format.colour)]) {
        result.setForeground(*colours_[static_cast<std::size_t>(format.colour)]);
    }
    return result;
}

void Reader::startFont(int number) {
    endFont();
    if (fonts_.size() < kMaxTableEntries || fonts_.contains(number)) {
        fontNumber_ = number;
        fontName_.clear();
    }
}

// Stores the name read for the current font table entry, if any.
void Reader::endFont() {
    if (fontNumber_) {
        tablesChanged();
        fonts_[*fontNumber_] = fontName_.trimmed();
        fontNumber_.reset();
    }
}

void Reader::endTableEntry() {
    if (state_.destination == Destination::FontTable) {
        endFont();
        return;
    }
    if (colours_.size() < kMaxTableEntries) {
        tablesChanged();
        colours_.push_back(colourGiven_ ? std::optional<QColor>(QColor(
                                              components_[0], components_[1], components_[2]))
                                        : std::nullopt);
    }
    components_ = {0, 0, 0};
    colourGiven_ = false;
}

// Called before the font or colour table changes. Text is shown with the tables as they were
// when its paragraph ended, so a finished paragraph's last run goes into the document now.
// Formats made until now are stale.
void Reader::tablesChanged() {
    if (paragraphPending_ && !run_.isEmpty()) {
        flushRun();
        markFormat_ = charFormat(runFormat_);
    }
    ++tables_;
}

}  // namespace

bool readRtf(QByteArrayView rtf, QTextDocument& document) {
    std::string_view input(rtf.data(), static_cast<std::size_t>(rtf.size()));
    input.remove_prefix(std::min(input.find_first_not_of(" \t\r\n"), input.size()));
    if (rtf.size() > static_cast<qsizetype>(kMaxRtfBytes) || !input.starts_with("{\\rtf")) {
        document.clear();
        return false;
    }
    return Reader(input, document).read();
}

}  // namespace rova
