// The registration record on disk: installed releases read and write the
// same file, so its sections, keys and order are fixed. Every field of the
// record below differs from the others, so that a value stored under the
// wrong key shows.
#include "platform/registration.h"
#include "support/Children.h"
#include "support/TestSupport.h"

namespace jotwell {
namespace {

platform::ClassRegistry& Registry() { return platform::Group<platform::ClassRegistry>::Native(); }

const platform::ClassRecord kRecord{
    .classId = "{11111111-1111-1111-1111-111111111111}",
    .progId = "Test.Thing",
    .libraryPath = "/opt/lib/libthing.so",
    .threadingModel = "Both",
    .typeLibraryId = "{22222222-2222-2222-2222-222222222222}",
    .typeLibraryName = "ThingLib",
    .typeLibraryVersion = "2.3",
    .typeLibraryLocale = 0x40C,
    .dual = {"{33333333-3333-3333-3333-333333333333}", "_Thing"},
    .events = {"{44444444-4444-4444-4444-444444444444}", "__Thing"},
};

const std::string kRecordText =
    "[CLSID {11111111-1111-1111-1111-111111111111}]\r\n"
    "ProgID=Test.Thing\r\n"
    "InprocServer=/opt/lib/libthing.so\r\n"
    "ThreadingModel=Both\r\n"
    "TypeLib={22222222-2222-2222-2222-222222222222}\r\n"
    "Version=2.3\r\n"
    "[ProgID Test.Thing]\r\n"
    "CLSID={11111111-1111-1111-1111-111111111111}\r\n"
    "[TypeLib {22222222-2222-2222-2222-222222222222}]\r\n"
    "Name=ThingLib\r\n"
    "Version=2.3\r\n"
    "Locale=40C\r\n"
    "[Interface {33333333-3333-3333-3333-333333333333}]\r\n"
    "Name=_Thing\r\n"
    "TypeLib={22222222-2222-2222-2222-222222222222}\r\n"
    "[Interface {44444444-4444-4444-4444-444444444444}]\r\n"
    "Name=__Thing\r\n"
    "TypeLib={22222222-2222-2222-2222-222222222222}\r\n";

class RegistrationRecord : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::ScopedEnv dataHome{"XDG_DATA_HOME", dir.File("data")};
  std::string file = dir.File("data/jotwell/components.ini");
};

// Read back from the text itself, which earlier releases wrote and read.
TEST_F(RegistrationRecord, IsWrittenAndFoundInTheFixedLayoutAndRemovedWhole) {
  Registry().WriteClassRecord(kRecord);
  EXPECT_EQ(test::ReadFile(file), kRecordText);
  EXPECT_EQ(Registry().RegisteredClassId("Test.Thing"), kRecord.classId);
  EXPECT_EQ(Registry().RegisteredLibrary(kRecord.classId), kRecord.libraryPath);
  EXPECT_EQ(Registry().RegisteredClassId("Other.Thing"), "");
  EXPECT_EQ(Registry().RegisteredLibrary(kRecord.dual.id), "");
  Registry().RemoveClassRecord(kRecord);
  EXPECT_FALSE(std::filesystem::exists(file));
}

// Unregistering must not answer success while the record stays: the user
// nobody can first not reach the record, then read it but not change it.
TEST_F(RegistrationRecord, ThatCannotBeChangedIsAnAccessErrorOnRemoval) {
  Registry().WriteClassRecord(kRecord);
  auto removeAsNobody = [] {
    if (!test::BecomeNobody()) return std::string("cannot become nobody");
    return Registry().RemoveClassRecord(kRecord), std::string("removed");
  };
  std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
  std::filesystem::permissions(dir.File("data"), std::filesystem::perms(0755));
  std::filesystem::permissions(dir.File("data/jotwell"), std::filesystem::perms(0700));
  EXPECT_EQ(test::InChild(removeAsNobody), "threw Path/File access error");
  std::filesystem::permissions(dir.File("data/jotwell"), std::filesystem::perms(0755));
  EXPECT_EQ(test::InChild(removeAsNobody), "threw Path/File access error");
  EXPECT_EQ(test::ReadFile(file), kRecordText);
}

}  // namespace
}  // namespace jotwell
