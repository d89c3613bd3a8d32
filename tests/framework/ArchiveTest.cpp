// The archive byte format: strings, numbers, object and class tags, and the
// refusal of malformed archives.

#include "framework/CArchive.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CTestElem : public CObject {
    DECLARE_SERIAL(CTestElem)
public:
    std::string m_strPath;
    uint16_t m_wEffect = 0;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << m_strPath << m_wEffect;
        else
            ar >> m_strPath >> m_wEffect;
    }
};
IMPLEMENT_SERIAL(CTestElem, CObject, 0)

class CTestOther : public CObject {
    DECLARE_SERIAL(CTestOther)
};
IMPLEMENT_SERIAL(CTestOther, CObject, 1)

using Bytes = std::vector<uint8_t>;

template <typename F> Bytes Store(F write) {
    CMemFile f;
    CArchive ar(&f, CArchive::store);
    write(ar);
    ar.Close();
    return f.Data();
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

TEST(Archive, StringLengthPrefixes) {
    auto prefix = [](size_t n) {
        Bytes b = Store([&](CArchive& ar) { ar << std::string(n, 'a'); });
        return Bytes(b.begin(), b.end() - static_cast<long>(n));
    };
    EXPECT_EQ(prefix(0), (Bytes{0x00}));
    EXPECT_EQ(prefix(254), (Bytes{0xFE}));
    EXPECT_EQ(prefix(255), (Bytes{0xFF, 0xFF, 0x00}));
    EXPECT_EQ(prefix(65533), (Bytes{0xFF, 0xFD, 0xFF}));
    EXPECT_EQ(prefix(65534), (Bytes{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(prefix(70000), (Bytes{0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));

    for (size_t n : {0u, 1u, 254u, 255u, 65533u, 65534u, 70000u}) {
        std::string s(n, 'q');
        if (n) s[n - 1] = 'z';
        Bytes b = Store([&](CArchive& ar) { ar << s; });
        CMemFile f(b);
        CArchive in(&f, CArchive::load);
        std::string back;
        in >> back;
        EXPECT_EQ(back, s) << n;
    }
}

TEST(Archive, NumbersAreLittleEndian) {
    Bytes b = Store([](CArchive& ar) {
        ar << uint8_t(0x12) << uint16_t(0x3456) << uint32_t(0x789ABCDE) << int32_t(-2) << 1.5f;
    });
    EXPECT_EQ(
        b, (Bytes{0x12, 0x56, 0x34, 0xDE, 0xBC, 0x9A, 0x78, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xC0, 0x3F}));
    CMemFile f(b);
    CArchive in(&f, CArchive::load);
    uint8_t b8;
    uint16_t w;
    uint32_t d;
    int32_t l;
    float fl;
    in >> b8 >> w >> d >> l >> fl;
    EXPECT_EQ(d, 0x789ABCDEu);
    EXPECT_EQ(l, -2);
    EXPECT_EQ(fl, 1.5f);
}

TEST(Archive, ObjectTagsAsAlbumFilesHoldThem) {
    CTestElem a, b;
    a.m_strPath = "A";
    a.m_wEffect = 1002;
    b.m_strPath = "BC";
    Bytes bytes = Store([&](CArchive& ar) {
        ar.WriteObject(&a);
        ar.WriteObject(&b);
        ar.WriteObject(&a); // the same object again: a reference to it
        ar.WriteObject(nullptr);
    });
    Bytes expected = Cat({{0xFF, 0xFF, 0x00, 0x00, 0x09, 0x00},
                          Text("CTestElem"),
                          {0x01, 'A', 0xEA, 0x03},
                          {0x01, 0x80, 0x02, 'B', 'C', 0x00, 0x00},
                          {0x02, 0x00},
                          {0x00, 0x00}});
    EXPECT_EQ(bytes, expected);

    CMemFile f(bytes);
    CArchive in(&f, CArchive::load);
    std::unique_ptr<CObject> p1(in.ReadObject(RUNTIME_CLASS(CTestElem)));
    std::unique_ptr<CObject> p2(in.ReadObject(RUNTIME_CLASS(CTestElem)));
    bool bRef = false;
    CObject* p3 = in.ReadObject(RUNTIME_CLASS(CTestElem), &bRef);
    EXPECT_EQ(in.ReadObject(RUNTIME_CLASS(CTestElem)), nullptr);
    EXPECT_EQ(p3, p1.get());
    EXPECT_TRUE(bRef);
    EXPECT_EQ(static_cast<CTestElem*>(p1.get())->m_wEffect, 1002);
    EXPECT_EQ(static_cast<CTestElem*>(p2.get())->m_strPath, "BC");
}

int LoadCause(const Bytes& bytes, const CRuntimeClass* requested = RUNTIME_CLASS(CTestElem)) {
    CMemFile f(bytes);
    CArchive in(&f, CArchive::load);
    try {
        std::unique_ptr<CObject> p(in.ReadObject(requested));
        std::unique_ptr<CObject> q(in.ReadObject(requested));
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return -1;
}

TEST(Archive, MalformedArchivesAreRefusedWithTheirCause) {
    const Bytes head = Cat({{0xFF, 0xFF, 0x00, 0x00, 0x09, 0x00}, Text("CTestElem"), {0x00, 0x00, 0x00}});
    // A foreign class name, a class name too long to be one, a wrong schema.
    EXPECT_EQ(LoadCause(Cat({{0xFF, 0xFF, 0x00, 0x00, 0x05, 0x00}, Text("CEvil")})),
              CArchiveException::badClass);
    EXPECT_EQ(LoadCause(Cat({{0xFF, 0xFF, 0x00, 0x00, 0x50, 0x00}, Bytes(80, 'C')})),
              CArchiveException::badClass);
    EXPECT_EQ(LoadCause(Cat({{0xFF, 0xFF, 0x07, 0x00, 0x09, 0x00}, Text("CTestElem")})),
              CArchiveException::badSchema);
    // A registered class that is not the one asked for.
    EXPECT_EQ(LoadCause(Cat({{0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00}, Text("CTestOther")})),
              CArchiveException::badClass);
    // Class references and object references to indexes never seen.
    EXPECT_EQ(LoadCause({0x05, 0x80}), CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(Cat({head, {0x09, 0x80}})), CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(Cat({head, {0x01, 0x00}})), CArchiveException::badIndex); // index 1 is a class
    EXPECT_EQ(LoadCause({0x07, 0x00}), CArchiveException::badIndex);
    // Short data.
    EXPECT_EQ(LoadCause({0xFF}), CArchiveException::endOfFile);
    EXPECT_EQ(LoadCause(Cat({{0xFF, 0xFF, 0x00, 0x00, 0x09, 0x00}, Text("CTest")})),
              CArchiveException::endOfFile);
    EXPECT_EQ(LoadCause(Cat({head, {0x01, 0x80, 0x05, 'x'}})), CArchiveException::endOfFile);
}

TEST(Archive, LengthsAreBoundedByTheDataPresent) {
    // A string claiming 4 GB in a few bytes is refused before anything is allocated.
    Bytes bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b'};
    CMemFile f(bytes);
    CArchive in(&f, CArchive::load);
    try {
        std::string s;
        in >> s;
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
}

TEST(Archive, ReadsAcrossTheBufferAndFromRealFiles) {
    std::string big(10000, 'x');
    Bytes bytes = Store([&](CArchive& ar) {
        for (int i = 0; i < 3; ++i) ar << big << uint32_t(i);
    });
    char tmpl[] = "/tmp/zozi-archive-XXXXXX";
    int fd = ::mkstemp(tmpl);
    ASSERT_GE(fd, 0);
    ::close(fd);
    {
        CFile out(tmpl, CFile::modeCreate | CFile::modeWrite);
        out.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    CFile in(tmpl, CFile::modeRead);
    CArchive ar(&in, CArchive::load);
    for (uint32_t i = 0; i < 3; ++i) {
        std::string s;
        uint32_t n;
        ar >> s >> n;
        EXPECT_EQ(s, big);
        EXPECT_EQ(n, i);
    }
    EXPECT_EQ(ar.BytesRemaining(), 0u);
    ::unlink(tmpl);
}

} // namespace
