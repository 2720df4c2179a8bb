#include "ops/TMapTools.h"

#include "util/TException.h"

std::unique_ptr<TMap> TMapTools::NewMapOnAxes(const TMap* PtrMap, const char* PtrNoAxes) {
    if (PtrMap->GetXAxis() == nullptr || PtrMap->GetYAxis() == nullptr)
        throw TException(PtrNoAxes);
    return std::make_unique<TMap>(PtrMap->GetXAxis(), PtrMap->GetYAxis());
}
