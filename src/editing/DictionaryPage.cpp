#include "DictionaryPage.h"

#include "data/DatabaseError.h"
#include "data/data.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavelin::editing {

const DictionaryPage kEnglishPage{&db,
                                  &kEnglishArmenian,
                                  &Tavelin::list1,
                                  &Tavelin::list2,
                                  &Tavelin::Text1,
                                  &Tavelin::Text2,
                                  &Tavelin::Text1_Change,
                                  LoadEnglish,
                                  LoadArmenian};

const DictionaryPage kRussianPage{&db1,
                                  &kRussianArmenian,
                                  &Tavelin::List4,
                                  &Tavelin::List3,
                                  &Tavelin::Text5,
                                  &Tavelin::Text4,
                                  &Tavelin::Text5_Change,
                                  LoadRussian,
                                  LoadArmenian1};

// Words held aside until the whole change has succeeded.
struct Refill::Words : WordList {
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

Refill::Refill(const DictionaryPage& page, const std::function<void()>& change)
    : page_(page), source_(std::make_unique<Words>()), armenian_(std::make_unique<Words>()) {
    page.dictionary->inTransaction([&] {
        change();
        page.loadSource(*source_);
        page.loadArmenian(*armenian_);
    });
}

Refill::~Refill() = default;

void Refill::show(Tavelin& window) {
    source_->copyTo((window.*page_.sourceList)->words());
    armenian_->copyTo((window.*page_.armenianList)->words());
}

QString failureMessage(const DictionaryPage& page, const QString& whatFailed,
                       const DatabaseError& error) {
    return QStringLiteral("%1 The dictionary file %2 could not be changed and is left as it "
                          "was. (Error %3: %4)")
        .arg(whatFailed, QString::fromLatin1(page.kind->fileName))
        .arg(error.code())
        .arg(QString::fromStdString(error.text()));
}

} // namespace tavelin::editing
