#include "geometry/TPointTools.h"

TPoint* TPointTools::Min(TPoint* PtrA, TPoint* PtrB) {
    return new TPoint(PtrA->GetX() > PtrB->GetX() ? PtrB->GetX() : PtrA->GetX(),
                      PtrA->GetY() > PtrB->GetY() ? PtrB->GetY() : PtrA->GetY());
}

TPoint* TPointTools::Max(TPoint* PtrA, TPoint* PtrB) {
    return new TPoint(PtrB->GetX() > PtrA->GetX() ? PtrB->GetX() : PtrA->GetX(),
                      PtrB->GetY() > PtrA->GetY() ? PtrB->GetY() : PtrA->GetY());
}
