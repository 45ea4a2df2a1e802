// The one fixture the test programs share: the program's global records as a test holds them,
// element lists written as display databases, content databases, and private data folders.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "questionnaire/elements.h"
#include "shell/state.h"
#include "tools/dbtool/lib/writer.h"

// Where the program looks for its databases, under the data root.
inline const std::string dataRootDisplayFile = "Program Files/Quellix/DisplayDB-Qx4k.pdb";
inline const std::string dataRootContentFile = "Program Files/Quellix/DEZidiVA-Qx4k.pdb";

// A short way to write elements: E(id, type, level, "text"); the text is "Element <id>" when
// none is given.
ElementSpec E(std::uint16_t id, ElementType type, int level, const std::string& text = "");
ElementSpec hiddenByDefault(ElementSpec e);
ElementSpec withAttributes(ElementSpec e, const std::string& attributes);

// One hierarchy and string record pair per module (module 0, 1, ...); one module may lose its
// string record.
Bytes displayDatabase(const std::vector<std::vector<ElementSpec>>& modules, int moduleWithoutStrings = -1);
// Another record first, then these: readers must find their record, not take the first.
Bytes contentDatabase(const std::vector<Bytes>& records);
// A record in one heap block, laid out as the record reader gives it.
DbRecord* recordFrom(const Bytes& bytes);

std::string narrow(const WCHAR* text);
std::string narrow(const std::u16string& text);

// A fresh folder under /tmp, removed with its contents at the end; enter() makes it the
// current folder until then.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    void enter();
    void write(const std::string& relativePath, const Bytes& bytes);
    const std::string path;

private:
    std::string previous_;
};

// The two global records, zero-filled and installed from install() to release(), which frees
// everything they own as the program's teardown does (the cited references too).
class GlobalRecords {
public:
    void install();
    void release();
    // The hierarchy and string records of modules 0..9 read from a display database file.
    void loadDisplay(const std::string& file);
    // An answer as the questionnaire leaves it: its value, and its owner when one is given.
    Answer* answer(std::uint16_t id, float value = 1.0f, std::uint32_t owner = 0, std::uint32_t ownerKey2 = 0);
    void cite(const std::vector<std::uint16_t>& ids);

    AppState* app = nullptr;
    QuestionnaireState* q = nullptr;
};
