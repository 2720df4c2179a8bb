#ifndef VEILGRID_TESTS_PIPEBUFFER_H
#define VEILGRID_TESTS_PIPEBUFFER_H

#include <algorithm>
#include <cstddef>
#include <streambuf>
#include <string>
#include <utility>

// A source that cannot seek, as a pipe or a console: it hands out its text in pieces of
// LngPiece characters (0: one at a time, without a buffer and unable to put back), and notes
// when it is asked for more after its text.
class TPipeBuffer : public std::streambuf {
  public:
    TPipeBuffer(std::string StrText, std::size_t LngPiece)
        : MbrStrText(std::move(StrText)), MbrLngPiece(LngPiece) {}
    bool WasAskedPastTheEnd() const { return MbrBlnPastEnd; }

  protected:
    int_type underflow() override {
        if (MbrLngPos >= MbrStrText.size()) {
            MbrBlnPastEnd = true;
            return traits_type::eof();
        }
        if (MbrLngPiece == 0)
            return traits_type::to_int_type(MbrStrText[MbrLngPos]);
        const std::size_t LngCount = std::min(MbrLngPiece, MbrStrText.size() - MbrLngPos);
        char* PtrPiece = MbrStrText.data() + MbrLngPos;
        MbrLngPos += LngCount;
        setg(PtrPiece, PtrPiece, PtrPiece + LngCount);
        return traits_type::to_int_type(*PtrPiece);
    }
    int_type uflow() override {
        if (MbrLngPiece != 0)
            return std::streambuf::uflow();
        const int_type IntChar = underflow();
        if (!traits_type::eq_int_type(IntChar, traits_type::eof()))
            ++MbrLngPos;
        return IntChar;
    }

  private:
    std::string MbrStrText;
    std::size_t MbrLngPiece;
    std::size_t MbrLngPos = 0;
    bool MbrBlnPastEnd = false;
};

#endif
