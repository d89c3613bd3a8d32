// Random sequences of album operations on albums sharing photo files, with
// the consistency between albums and photo files checked after every step;
// and album saves that fail at every write.

#include "AlbumTestUtil.h"
#include "album/AlbumFile.h"
#include "album/CAlbum.h"
#include "framework/CException.h"
#include "framework/CFile.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace {

constexpr int kSlots = 4;

class AlbumReliability : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override {
        QLNI_Initialize(nullptr);
        for (int i = 0; i < 4; ++i) {
            m_sources.push_back(m_dir / ("photo" + std::to_string(i) + ".qln"));
            MakePhotoFile(m_sources.back(), 30 + 7 * i, 40 - 5 * i);
            m_photos.push_back(m_sources.back());
        }
        for (int i = 0; i < 2; ++i) {
            m_sources.push_back(m_dir / ("pic" + std::to_string(i) + ".bmp"));
            MakePicture(25, 20 + i, i == 0 ? 8 : 24)->SaveBMP(m_sources.back());
            m_photos.push_back(QLNI_GetCompanionName(m_sources.back()));
        }
    }
    void TearDown() override {
        SetAlbumWriteHook({});
        QLNI_CloseFile();
    }

    std::string SlotPath(int k) const { return m_dir / ("album" + std::to_string(k) + ".alb"); }

    // Every photo file's backward paths per scale name exactly the albums
    // that use it at that scale; every photo an album uses exists and has
    // the album's thumbnail.
    void CheckInvariant(const std::string& step) {
        std::map<std::string, std::set<std::string>> expected[QLNI_SCALE_COUNT];
        for (int k = 0; k < kSlots; ++k) {
            const CAlbum* album = m_albums[k].get();
            if (!album) continue;
            for (int i = 0; i < album->GetCount(); ++i) {
                const std::string& path = album->GetPath(i);
                ASSERT_TRUE(CFile::Exists(path)) << step << ": " << path << " was deleted";
                ASSERT_TRUE(HasThumbnail(path, static_cast<uint16_t>(album->m_nScale)))
                    << step << ": " << path;
                expected[album->m_nScale][path].insert(Upper(album->GetAlbumPath()));
            }
        }
        for (const std::string& photo : m_photos) {
            if (!CFile::Exists(photo)) continue;
            for (uint16_t s = 0; s < QLNI_SCALE_COUNT; ++s) {
                const auto it = expected[s].find(photo);
                const std::set<std::string> want =
                    it == expected[s].end() ? std::set<std::string>{} : it->second;
                ASSERT_EQ(BackwardPaths(photo, s), want) << step << ": " << photo << " scale " << s;
            }
        }
    }

    CAlbumScratch m_dir;
    CScriptedPrompt m_prompt;
    CUserPromptScope m_scope{&m_prompt};
    std::vector<std::string> m_sources; // what is added: photo files and bitmaps
    std::vector<std::string> m_photos;  // the photo files that can hold thumbnails
    std::unique_ptr<CAlbum> m_albums[kSlots];
};

} // namespace

TEST_P(AlbumReliability, RandomOperationsKeepAlbumsAndPhotoFilesConsistent) {
    std::mt19937 rng(GetParam());
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 160; ++step) {
        const int k = pick(kSlots);
        std::unique_ptr<CAlbum>& album = m_albums[k];
        std::string what;
        if (!album) {
            what = "create";
            album = std::make_unique<CAlbum>();
            album->m_nScale = pick(4);
            album->m_strProvisionalPath = SlotPath(k);
            if (CFile::Exists(SlotPath(k))) {
                what = "load";
                album->LoadFile(SlotPath(k));
            }
        } else {
            switch (pick(9)) {
            case 0:
            case 1: {
                what = "add";
                std::vector<std::string> paths;
                for (int n = 1 + pick(2); n > 0; --n)
                    paths.push_back(m_sources[static_cast<size_t>(pick(6))]);
                album->AddPhotos(paths);
                break;
            }
            case 2:
                what = "remove";
                if (album->GetCount()) album->RemovePhoto(pick(album->GetCount()));
                break;
            case 3: {
                what = "copy";
                const CAlbum* other = m_albums[pick(kSlots)].get();
                if (other && other != album.get() && other->GetCount())
                    album->CopyPhoto(*other, pick(other->GetCount()), pick(album->GetCount() + 1));
                break;
            }
            case 4:
                what = "move";
                if (album->GetCount()) album->MovePhoto(pick(album->GetCount()), pick(album->GetCount() + 1));
                break;
            case 5:
                what = "scale";
                album->SetScale(pick(4));
                break;
            case 6:
            case 7:
                what = "save";
                album->SaveFile(SlotPath(k));
                break;
            case 8:
                what = "discard";
                album->DiscardChanges();
                album.reset();
                if (CFile::Exists(SlotPath(k))) {
                    album = std::make_unique<CAlbum>();
                    album->LoadFile(SlotPath(k));
                }
                break;
            }
        }
        CheckInvariant("step " + std::to_string(step) + " " + what + " album " + std::to_string(k));
        if (HasFatalFailure()) return;
    }
    // Nothing was asked: every operation went through.
    for (const auto& shown : m_prompt.m_shown) ADD_FAILURE() << shown.text;
}

INSTANTIATE_TEST_SUITE_P(Seeds, AlbumReliability, ::testing::Range(1u, 9u));

TEST(AlbumSaveFailure, EveryFailingWriteLeavesTheOldOrTheNewAlbum) {
    QLNI_Initialize(nullptr);
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    CAlbumScratch dir;
    const std::string photo = dir / "a-photo-file-with-a-name-long-enough-to-fill-the-album.qln";
    MakePhotoFile(photo);
    const std::string path = dir / "album.alb";
    CAlbum album;
    album.AddPhotos({photo});
    album.SaveFile(path);
    const std::vector<uint8_t> oldBytes = ReadBytes(path);

    for (int i = 0; i < 400; ++i) album.AppendElem(photo);
    album.m_strTitle = "changed";
    int nWrites = 0;
    SetAlbumWriteHook([&](int n) { nWrites = std::max(nWrites, n + 1); });
    {
        CAlbum copy;
        copy.LoadFile(path);
        copy.m_strTitle = "probe";
        for (int i = 0; i < 400; ++i) copy.AppendElem(photo);
        copy.SaveFile(dir / "probe.alb");
    }
    ASSERT_GT(nWrites, 3);
    for (int nFail = 0; nFail < nWrites; ++nFail) {
        SetAlbumWriteHook([&](int n) {
            if (n == nFail) AfxThrowFileException(CFileException::diskFull, 28, path);
        });
        EXPECT_THROW(album.SaveFile(path), CFileException);
        EXPECT_EQ(ReadBytes(path), oldBytes) << "failure at write " << nFail;
        CAlbum check;
        check.LoadFile(path);
        EXPECT_EQ(check.GetCount(), 1);
        EXPECT_EQ(BackwardPaths(photo, 1).count(Upper(path)), 1u);
    }
    SetAlbumWriteHook({});
    album.SaveFile(path);
    CAlbum check;
    check.LoadFile(path);
    EXPECT_EQ(check.GetCount(), 401);
    EXPECT_EQ(check.m_strTitle, "changed");
}
