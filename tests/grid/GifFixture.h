#pragma once
// Small GIF files written for the tests: a 4-colour global palette (white, red, green, blue) and
// frames that each carry a graphic control extension (delay, transparency) before their image
// descriptor. The pixel data is LZW coded with a clear code before every pixel, so every code
// stays 3 bits wide and no dictionary is needed.
#include <QByteArray>

#include <cstdint>
#include <vector>

namespace gif_fixture {

enum Index : uint8_t { White = 0, Red = 1, Green = 2, Blue = 3 };

struct TFrame {
    int X = 0, Y = 0, W = 1, H = 1;
    int Delay = 0; // hundredths of a second
    uint8_t Fill = Red; // every pixel of the frame
    bool Transparent = false;
    int Disposal = 0;
};

inline void PutWord(QByteArray& B, int V) {
    B.append(char(V & 0xFF));
    B.append(char((V >> 8) & 0xFF));
}

inline QByteArray PixelData(int Count, uint8_t Index) {
    // codes: clear = 4, end = 5; each pixel is "clear, index", 3 bits each, LSB first
    QByteArray Bits;
    uint32_t Acc = 0;
    int N = 0;
    auto Put = [&](int Code) {
        Acc |= uint32_t(Code) << N;
        N += 3;
        while (N >= 8) {
            Bits.append(char(Acc & 0xFF));
            Acc >>= 8;
            N -= 8;
        }
    };
    for (int I = 0; I < Count; ++I) {
        Put(4);
        Put(Index);
    }
    Put(5);
    if (N > 0) Bits.append(char(Acc & 0xFF));
    QByteArray Out;
    Out.append(char(2)); // minimum code size
    for (int I = 0; I < Bits.size(); I += 255) {
        const QByteArray Block = Bits.mid(I, 255);
        Out.append(char(Block.size()));
        Out.append(Block);
    }
    Out.append(char(0));
    return Out;
}

inline QByteArray MakeGIF(int Width, int Height, const std::vector<TFrame>& Frames) {
    QByteArray B("GIF89a");
    PutWord(B, Width);
    PutWord(B, Height);
    B.append(char(0x81)); // global colour table of 4 entries
    B.append(char(0)); // background colour index
    B.append(char(0));
    const uint8_t Palette[] = {255, 255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    B.append(reinterpret_cast<const char*>(Palette), sizeof Palette);
    for (const TFrame& F : Frames) {
        B.append(char(0x21));
        B.append(char(0xF9));
        B.append(char(0x04));
        B.append(char((F.Disposal & 7) << 2 | (F.Transparent ? 1 : 0)));
        PutWord(B, F.Delay);
        B.append(char(0)); // transparent index: white
        B.append(char(0));
        B.append(char(0x2C));
        PutWord(B, F.X);
        PutWord(B, F.Y);
        PutWord(B, F.W);
        PutWord(B, F.H);
        B.append(char(0));
        B.append(PixelData(F.W * F.H, F.Fill));
    }
    B.append(char(0x3B));
    return B;
}

} // namespace gif_fixture
