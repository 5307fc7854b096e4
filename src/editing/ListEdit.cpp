#include "ListEdit.h"

#include "data/DatabaseError.h"
#include "main_window/ListBox.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavelin::editing {

namespace {

// Words read back in the transaction, held aside until all of it has succeeded.
struct HeldWords : WordList {
    std::string bytes;
    std::vector<std::uint32_t> ends;

    void clear() override {
        bytes.clear();
        ends.clear();
    }
    void append(std::string_view word) override {
        bytes.append(word);
        ends.push_back(static_cast<std::uint32_t>(bytes.size()));
    }
    void reserve(std::size_t count) override {
        ends.reserve(count);
        bytes.reserve(count * 8);
    }
    void copyTo(WordList& list) const {
        list.clear();
        list.reserve(ends.size());
        std::uint32_t begin = 0;
        for (std::uint32_t end : ends) {
            list.append(std::string_view(bytes).substr(begin, end - begin));
            begin = end;
        }
        list.finish();
    }
};

} // namespace

// What happens to one list.
struct ListEdit::Step {
    enum class Kind { Insert, Remove, Reload };
    Kind kind = Kind::Reload;
    std::string word; // inserted or removed
    HeldWords words;  // read back

    void reload(void (*load)(WordList&)) {
        kind = Kind::Reload;
        load(words);
    }
    // A word goes in where a fresh load would put it: a list out of the
    // loaders' order is read back instead.
    void insert(const WordListModel& list, std::string_view added, void (*load)(WordList&)) {
        if (list.inDictionaryOrder()) {
            kind = Kind::Insert;
            word = added;
        } else {
            reload(load);
        }
    }
    // A word known to have gone from the file goes from the list, when the
    // list holds it; a list that does not was behind the file, and is read back.
    void remove(const WordListModel& list, const std::optional<std::string>& gone,
                void (*load)(WordList&)) {
        if (gone && list.inDictionaryOrder() && list.indexOf(*gone) >= 0) {
            kind = Kind::Remove;
            word = *gone;
        } else {
            reload(load);
        }
    }
    void applyTo(ListBox& list) const {
        switch (kind) {
        case Kind::Insert:
            list.forgetSelection();
            list.words().insertWord(word);
            break;
        case Kind::Remove:
            list.forgetSelection();
            list.words().removeWord(word);
            break;
        case Kind::Reload:
            words.copyTo(list.words()); // a refill: no selection, no click
            break;
        }
    }
};

ListEdit::ListEdit(const PageControls& page)
    : page_(&page), source_(std::make_unique<Step>()), armenian_(std::make_unique<Step>()) {}

ListEdit::ListEdit(ListEdit&&) noexcept = default;

ListEdit::~ListEdit() = default;

ListEdit ListEdit::add(const PageControls& page, std::string_view source,
                       std::string_view armenian) {
    ListEdit edit(page);
    page.dictionary->inTransaction([&] {
        page.append(source, armenian);
        edit.source_->insert(page.sourceList->words(), source, page.loadSource);
        edit.armenian_->insert(page.armenianList->words(), armenian, page.loadArmenian);
    });
    return edit;
}

ListEdit ListEdit::remove(const PageControls& page, std::string_view source) {
    ListEdit edit(page);
    page.dictionary->inTransaction([&] {
        // The look-up gives the last pair of the word, the delete takes the
        // first: they are the same pair when no other pair is left after it.
        const std::optional<std::string> last = page.dictionary->lookUp(Column::Source, source);
        page.removeFirst(source);
        if (!last) {
            edit.source_->reload(page.loadSource);
            edit.armenian_->reload(page.loadArmenian);
            return;
        }
        const bool alone = !page.dictionary->lookUp(Column::Source, source);
        edit.source_->remove(page.sourceList->words(), std::string(source), page.loadSource);
        edit.armenian_->remove(page.armenianList->words(), alone ? last : std::nullopt,
                               page.loadArmenian);
    });
    return edit;
}

void ListEdit::show() {
    source_->applyTo(*page_->sourceList);
    armenian_->applyTo(*page_->armenianList);
}

QString failureMessage(const PageControls& page, const QString& whatFailed,
                       const DatabaseError& error) {
    return QStringLiteral("%1 The dictionary file %2 could not be changed and is left as it "
                          "was. (Error %3: %4)\n\n%5")
        .arg(whatFailed, QString::fromLatin1(page.kind->fileName))
        .arg(error.code())
        .arg(QString::fromStdString(error.text()),
             QDir::toNativeSeparators(QFile::decodeName(page.dictionary->path().c_str())));
}

} // namespace tavelin::editing
