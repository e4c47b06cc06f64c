#include <gtest/gtest.h>

#include <string>

#include "base/BinaryStream.h"

using namespace quarrant;

TEST(BinaryStream, FieldsRoundTripInLittleEndian) {
    BinaryWriter writer;
    writer.WriteInt32(-2);
    writer.WriteText("\xB8\xD6");
    writer.WriteReal(12.345678);
    const std::string& bytes = writer.Data();
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(bytes.substr(4, 6), std::string("\x02\x00\x00\x00\xB8\xD6", 6));
    EXPECT_EQ(bytes.substr(10), std::string("\x07\x00\x00\x00"
                                            "12.3457",
                                            11));

    BinaryReader reader(bytes);
    std::int32_t i = 0;
    std::string text;
    double real = 0;
    EXPECT_TRUE(reader.ReadInt32(i));
    EXPECT_TRUE(reader.ReadText(text));
    EXPECT_TRUE(reader.ReadReal(real));
    EXPECT_EQ(i, -2);
    EXPECT_EQ(text, "\xB8\xD6");
    EXPECT_DOUBLE_EQ(real, 12.3457);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.Failed());
}

TEST(BinaryStream, ReaderFailsCleanlyAtEveryCut) {
    BinaryWriter writer;
    writer.WriteInt32(7);
    writer.WriteText("abc");
    writer.WriteReal(1.5);
    const std::string full = writer.Data();
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        BinaryReader reader(std::string_view(full).substr(0, cut));
        std::int32_t i = 0;
        std::string text;
        double real = 0;
        bool ok = reader.ReadInt32(i) && reader.ReadText(text) && reader.ReadReal(real);
        EXPECT_FALSE(ok) << "cut at " << cut;
        EXPECT_TRUE(reader.Failed());
        // Once failed, every further read fails with a neutral value.
        EXPECT_FALSE(reader.ReadInt32(i));
        EXPECT_EQ(i, 0);
    }
}

TEST(BinaryStream, NegativeOrOversizedCountsFailWithoutReading) {
    for (std::int32_t count : {-1, 1000, 0x7FFFFFFF}) {
        BinaryWriter writer;
        writer.WriteInt32(count);
        writer.WriteInt32(0);
        BinaryReader reader(writer.Data());
        std::string text = "old";
        EXPECT_FALSE(reader.ReadText(text)) << count;
        EXPECT_EQ(text, "");
    }
}
