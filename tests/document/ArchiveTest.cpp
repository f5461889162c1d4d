#include "document/Archive.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> bytes;
    for (int v : values)
        bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}

std::u16string TextOfLength(size_t length) {
    std::u16string text(length, u'\0');
    for (size_t i = 0; i < length; ++i)
        text[i] = static_cast<char16_t>(u'あ' + i % 80);
    return text;
}

// Expects a CArchiveException from f whose message contains part.
template <typename F>
void ExpectArchiveError(F&& f, const std::string& part) {
    try {
        f();
        ADD_FAILURE() << "no CArchiveException";
    } catch (const CArchiveException& e) {
        EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
    }
}

} // namespace

TEST(Archive, ValuesAreLittleEndian) {
    CArchiveWriter w;
    w.WriteU8(0x12);
    w.WriteU16(0x3456);
    w.WriteU32(0x789ABCDE);
    w.WriteI32(-2);
    w.WriteF32(1.0f);
    w.WriteBool(true);
    w.WriteFixed("abc", 5, 0xFD);
    w.WriteFixed("abcdef", 2);
    EXPECT_EQ(w.Bytes(),
              Bytes({0x12, 0x56, 0x34, 0xDE, 0xBC, 0x9A, 0x78, 0xFE, 0xFF, 0xFF, 0xFF, 0x00,
                     0x00, 0x80, 0x3F, 0x01, 'a',  'b',  'c',  0xFD, 0xFD, 'a',  'b'}));

    CArchiveReader r(w.Bytes());
    EXPECT_EQ(r.ReadU8(), 0x12);
    EXPECT_EQ(r.ReadU16(), 0x3456);
    EXPECT_EQ(r.ReadU32(), 0x789ABCDEu);
    EXPECT_EQ(r.ReadI32(), -2);
    EXPECT_EQ(r.ReadF32(), 1.0f);
    EXPECT_TRUE(r.ReadBool());
    r.Skip(7);
    EXPECT_TRUE(r.AtEnd());
}

TEST(Archive, AnyNonZeroByteIsTrue) {
    const auto bytes = Bytes({0, 1, 2, 0xFF});
    CArchiveReader r(bytes);
    EXPECT_FALSE(r.ReadBool());
    EXPECT_TRUE(r.ReadBool());
    EXPECT_TRUE(r.ReadBool());
    EXPECT_TRUE(r.ReadBool());
}

TEST(Archive, StringLengthForms) {
    // Length → expected bytes between the tag FF FE FF and the text.
    struct Case {
        size_t length;
        std::vector<uint8_t> prefix;
    };
    const Case cases[] = {
        {0, Bytes({0x00})},
        {1, Bytes({0x01})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {65533, Bytes({0xFF, 0xFD, 0xFF})},
        {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {65535, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::u16string text = TextOfLength(c.length);
        CArchiveWriter w;
        w.WriteString(text);
        const auto& bytes = w.Bytes();
        ASSERT_EQ(bytes.size(), 3 + c.prefix.size() + 2 * c.length);
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 3),
                  Bytes({0xFF, 0xFE, 0xFF}));
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 3,
                                       bytes.begin() + 3 + static_cast<long>(c.prefix.size())),
                  c.prefix);
        CArchiveReader r(bytes);
        EXPECT_EQ(r.ReadString(), text);
        EXPECT_TRUE(r.AtEnd());
    }
}

TEST(Archive, StringTextIsUtf16LittleEndian) {
    CArchiveWriter w;
    w.WriteString(u"頭a");
    EXPECT_EQ(w.Bytes(), Bytes({0xFF, 0xFE, 0xFF, 0x02, 0x2D, 0x98, 'a', 0x00}));
}

TEST(Archive, UntaggedStringsAreCodePage932) {
    // "センター" in code page 932, with each length form.
    const std::string center = "\x83\x5A\x83\x93\x83\x5E\x81\x5B";
    std::vector<uint8_t> bytes = Bytes({0x08});
    bytes.insert(bytes.end(), center.begin(), center.end());
    const auto word = Bytes({0xFF, 0x08, 0x00});
    bytes.insert(bytes.end(), word.begin(), word.end());
    bytes.insert(bytes.end(), center.begin(), center.end());
    const auto dword = Bytes({0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00, 'a', 'b', 'c'});
    bytes.insert(bytes.end(), dword.begin(), dword.end());
    bytes.push_back(0x00); // empty

    CArchiveReader r(bytes);
    EXPECT_EQ(r.ReadString(), u"センター");
    EXPECT_EQ(r.ReadString(), u"センター");
    EXPECT_EQ(r.ReadString(), u"abc");
    EXPECT_EQ(r.ReadString(), u"");
    EXPECT_TRUE(r.AtEnd());
}

TEST(Archive, ReadingPastTheEndThrows) {
    const auto one = Bytes({0x01});
    const auto three = Bytes({0x01, 0x02, 0x03});
    ExpectArchiveError(
        [&] {
            CArchiveReader r(std::span<const uint8_t>{});
            r.ReadU8();
        },
        "end of data");
    ExpectArchiveError(
        [&] {
            CArchiveReader r(one);
            r.ReadU16();
        },
        "end of data");
    ExpectArchiveError(
        [&] {
            CArchiveReader r(three);
            r.ReadU32();
        },
        "end of data");
    ExpectArchiveError(
        [&] {
            CArchiveReader r(three);
            r.ReadI32();
        },
        "end of data");
    ExpectArchiveError(
        [&] {
            CArchiveReader r(three);
            r.ReadF32();
        },
        "end of data");
    ExpectArchiveError(
        [&] {
            CArchiveReader r(three);
            r.ReadSpan(4);
        },
        "end of data");
    ExpectArchiveError(
        [&] {
            CArchiveReader r(three);
            r.Skip(4);
        },
        "end of data");
    ExpectArchiveError(
        [&] {
            CArchiveReader r(three);
            uint8_t out[4];
            r.ReadBytes(out, 4);
        },
        "end of data");
    ExpectArchiveError(
        [&] {
            CArchiveReader r(three);
            r.Require(5, "five things");
        },
        "five things");
    // A failed read consumes nothing.
    CArchiveReader r(three);
    EXPECT_THROW(r.ReadU32(), CArchiveException);
    EXPECT_EQ(r.Position(), 0u);
    EXPECT_EQ(r.ReadU16(), 0x0201);
}

TEST(Archive, TruncatedStringPrefixesThrow) {
    const std::vector<std::vector<uint8_t>> cases = {
        Bytes({0xFF}),                         // escape without its u16
        Bytes({0xFF, 0x10}),                   // half a u16 length
        Bytes({0xFF, 0xFE, 0xFF}),             // tag without a length
        Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x00}), // tag, escape, half a u16
        Bytes({0xFF, 0xFF, 0xFF, 0x01, 0x00}), // u32 length cut short
    };
    for (const auto& bytes : cases) {
        CArchiveReader r(bytes);
        EXPECT_THROW(r.ReadString(), CArchiveException);
    }
}

TEST(Archive, StringLongerThanTheBytesLeftThrowsWithoutAllocating) {
    // Tagged: 3 characters need 6 bytes, 5 are there.
    const auto tagged = Bytes({0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b', 0, 'c'});
    ExpectArchiveError(
        [&] {
            CArchiveReader r(tagged);
            r.ReadString();
        },
        "longer than");
    // Untagged: 4 bytes declared, 3 present.
    const auto untagged = Bytes({0x04, 'a', 'b', 'c'});
    ExpectArchiveError(
        [&] {
            CArchiveReader r(untagged);
            r.ReadString();
        },
        "longer than");
    // A hostile 32-bit length of 4 billion characters is refused up front.
    const auto huge = Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0});
    ExpectArchiveError(
        [&] {
            CArchiveReader r(huge);
            r.ReadString();
        },
        "longer than");
}

class ArchiveFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kubrell-archive-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        for (const std::string& name : Entries())
            ::unlink((dir_ + "/" + name).c_str());
        ::rmdir((dir_ + "/folder").c_str());
        ::rmdir(dir_.c_str());
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        if (DIR* d = opendir(dir_.c_str())) {
            while (dirent* e = readdir(d))
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                    names.push_back(e->d_name);
            closedir(d);
        }
        return names;
    }
    std::string dir_;
};

TEST_F(ArchiveFile, WriteThenReadBack) {
    const std::string path = dir_ + "/doc.kbrl";
    const auto first = Bytes({1, 2, 3});
    WriteFileAtomically(path, first);
    EXPECT_EQ(ReadFileBytes(path), first);
    // Replacing keeps only the new content and leaves no temporary file.
    const auto second = Bytes({9});
    WriteFileAtomically(path, second);
    EXPECT_EQ(ReadFileBytes(path), second);
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.kbrl"});
    // An empty file is fine too.
    WriteFileAtomically(path, {});
    EXPECT_TRUE(ReadFileBytes(path).empty());
}

TEST_F(ArchiveFile, ReadErrorsNameTheFile) {
    const std::string missing = dir_ + "/missing.kbrl";
    ExpectArchiveError([&] { ReadFileBytes(missing); }, missing);
    ExpectArchiveError([&] { ReadFileBytes(dir_); }, dir_); // a folder
    const std::string path = dir_ + "/big.kbrl";
    WriteFileAtomically(path, std::vector<uint8_t>(100, 7));
    ExpectArchiveError([&] { ReadFileBytes(path, 99); }, "larger than");
    EXPECT_EQ(ReadFileBytes(path, 100).size(), 100u);
}

TEST_F(ArchiveFile, FailedWriteKeepsTheOldFile) {
    const std::string path = dir_ + "/doc.kbrl";
    const auto old = Bytes({'o', 'l', 'd'});
    WriteFileAtomically(path, old);

    // Let the file size limit make the write fail part-way.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool threw = false;
    try {
        WriteFileAtomically(path, std::vector<uint8_t>(100000, 1));
    } catch (const CArchiveException& e) {
        threw = true;
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);

    EXPECT_TRUE(threw);
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.kbrl"}); // no temporary left
}

TEST_F(ArchiveFile, FailedReplaceRemovesTheTemporary) {
    // A non-empty folder cannot be replaced by a file.
    const std::string folder = dir_ + "/folder";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    const std::string inside = folder + "/keep";
    WriteFileAtomically(inside, Bytes({1}));
    EXPECT_THROW(WriteFileAtomically(folder, Bytes({2})), CArchiveException);
    EXPECT_EQ(ReadFileBytes(inside), Bytes({1}));
    EXPECT_EQ(Entries(), std::vector<std::string>{"folder"});
    ::unlink(inside.c_str());
}

TEST_F(ArchiveFile, MissingFolderIsReported) {
    const std::string path = dir_ + "/no/such/doc.kbrl";
    ExpectArchiveError([&] { WriteFileAtomically(path, Bytes({1})); }, path);
}

namespace {

TEST_F(ArchiveFile, OnlyRegularFilesAreRead) {
    // A pipe named like a document: refused at once, not waited on.
    const std::string pipe = dir_ + "/f.kbrl";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ExpectArchiveError([&] { ReadFileBytes(pipe); }, "a pipe");
    // A device that never ends: refused before a byte is read.
    ExpectArchiveError([] { ReadFileBytes("/dev/zero"); }, "a device");
    ExpectArchiveError([&] { ReadFileBytes(dir_); }, "a folder");
    // A link to a regular file is read as the file.
    const std::string file = dir_ + "/real.kbrl";
    WriteFileAtomically(file, Bytes({4, 5}));
    const std::string link = dir_ + "/link.kbrl";
    ASSERT_EQ(::symlink(file.c_str(), link.c_str()), 0);
    EXPECT_EQ(ReadFileBytes(link), Bytes({4, 5}));
}

TEST_F(ArchiveFile, SavingThroughALinkWritesTheFileItPointsToAndKeepsItsMode) {
    const std::string file = dir_ + "/real.kbrl";
    WriteFileAtomically(file, Bytes({1}));
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    const std::string link = dir_ + "/link.kbrl";
    ASSERT_EQ(::symlink("real.kbrl", link.c_str()), 0); // relative, as users make them
    WriteFileAtomically(link, Bytes({2, 3}));

    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays a link";
    EXPECT_EQ(ReadFileBytes(file), Bytes({2, 3}));
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    // A link to a file that does not exist yet creates that file.
    const std::string dangling = dir_ + "/later.kbrl";
    ASSERT_EQ(::symlink((dir_ + "/new.kbrl").c_str(), dangling.c_str()), 0);
    WriteFileAtomically(dangling, Bytes({9}));
    EXPECT_EQ(ReadFileBytes(dir_ + "/new.kbrl"), Bytes({9}));
    // Links that lead round in a circle are reported.
    ASSERT_EQ(::symlink("loop2", (dir_ + "/loop1").c_str()), 0);
    ASSERT_EQ(::symlink("loop1", (dir_ + "/loop2").c_str()), 0);
    ExpectArchiveError([&] { WriteFileAtomically(dir_ + "/loop1", Bytes({1})); }, "loop1");
}

} // namespace
