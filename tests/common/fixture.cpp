// The shared test fixture (see fixture.h).
#include "tests/common/fixture.h"

#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "dbfile/heap.h"
#include "dbfile/records.h"
#include "questionnaire/answers.h"

ElementSpec E(std::uint16_t id, ElementType type, int level, const std::string& text)
{
    ElementSpec e;
    e.id = id;
    e.type = std::int8_t(type);
    e.level = std::int8_t(level);
    e.text = text.empty() ? "Element " + std::to_string(id) : text;
    return e;
}

ElementSpec hiddenByDefault(ElementSpec e)
{
    e.defaultState = std::int8_t(ElementState::HIDDEN);
    return e;
}

ElementSpec withAttributes(ElementSpec e, const std::string& attributes)
{
    e.hasAttributes = true;
    e.attributes = attributes;
    return e;
}

Bytes displayDatabase(const std::vector<std::vector<ElementSpec>>& modules, int moduleWithoutStrings)
{
    std::vector<Bytes> records;
    for (std::size_t m = 0; m < modules.size(); ++m) {
        ModuleRecords r = makeModuleRecords(std::uint16_t(m), modules[m]);
        records.push_back(r.hierarchy);
        if (int(m) != moduleWithoutStrings)
            records.push_back(r.strings);
    }
    return makeContainer(records);
}

Bytes contentDatabase(const std::vector<Bytes>& records)
{
    std::vector<Bytes> all;
    all.push_back(makeRecord(4, 0, 0, Bytes(8, 0)));
    all.insert(all.end(), records.begin(), records.end());
    return makeContainer(all);
}

DbRecord* recordFrom(const Bytes& bytes)
{
    auto* record = static_cast<DbRecord*>(allocBlock(sizeof(DbRecord) + bytes.size()));
    record->size = std::uint32_t(bytes.size());
    record->bytes = reinterpret_cast<std::uint8_t*>(record + 1);
    if (!bytes.empty())
        std::memcpy(record->bytes, bytes.data(), bytes.size());
    return record;
}

std::string narrow(const WCHAR* text)
{
    std::string s;
    for (; text && *text; ++text)
        s += char(*text & 0xFF);
    return s;
}

std::string narrow(const std::u16string& text) { return narrow(text.c_str()); }

namespace {

std::string makeFolder(const std::string& name)
{
    std::string pattern = "/tmp/zura-" + name + "-XXXXXX";
    const char* made = mkdtemp(pattern.data());
    if (!made)
        ADD_FAILURE() << "could not make " << pattern;
    return made ? made : "";
}

} // namespace

ScratchFolder::ScratchFolder(const std::string& name) : path(makeFolder(name)) {}

ScratchFolder::~ScratchFolder()
{
    std::error_code ec;
    if (!previous_.empty())
        std::filesystem::current_path(previous_, ec);
    if (ec)
        ADD_FAILURE() << "could not return to " << previous_;
    if (!path.empty() && !std::filesystem::remove_all(path, ec))
        ADD_FAILURE() << "could not remove " << path;
}

void ScratchFolder::enter()
{
    if (previous_.empty())
        previous_ = std::filesystem::current_path().string();
    std::filesystem::current_path(path);
}

void ScratchFolder::write(const std::string& relativePath, const Bytes& bytes)
{
    std::string error;
    ASSERT_TRUE(writeBytes(path + "/" + relativePath, bytes, &error)) << error;
}

void GlobalRecords::install()
{
    app = static_cast<AppState*>(allocZeroed(sizeof(AppState)));
    q = static_cast<QuestionnaireState*>(allocZeroed(sizeof(QuestionnaireState)));
    ASSERT_TRUE(app && q);
    appState = app;
    questionnaireState = q;
}

void GlobalRecords::release()
{
    setAllocationFailure(0);
    if (app)
        releaseAppContents(app);
    releaseCitedReferences();
    if (q)
        releaseQuestionnaireContents(q);
    freeBlock(app);
    freeBlock(q);
    app = nullptr;
    q = nullptr;
    appState = nullptr;
    questionnaireState = nullptr;
}

void GlobalRecords::loadDisplay(const std::string& file)
{
    for (int m = 0; m < 10; ++m) {
        q->hierarchyRecords[m] = readRecord(1, std::uint16_t(m), 0, 0, 0, file.c_str());
        q->stringRecords[m] = readRecord(2, std::uint16_t(m), 0, 0, 0, file.c_str());
    }
    ASSERT_NE(q->hierarchyRecords[0], nullptr);
}

Answer* GlobalRecords::answer(std::uint16_t id, float value, std::uint32_t owner, std::uint32_t ownerKey2)
{
    Answer* node = setAnswer(&q->answers, id, value);
    if (node && (owner || ownerKey2)) {
        node->ownerId = owner;
        node->ownerKey2 = ownerKey2;
    }
    return node;
}

void GlobalRecords::cite(const std::vector<std::uint16_t>& ids)
{
    if (!citedReferences)
        citedReferences = static_cast<AnswerList*>(allocZeroed(sizeof(AnswerList)));
    for (std::uint16_t id : ids)
        findOrAddNode(citedReferences, id, 0, 0, 0);
}
