#ifndef VEILGRID_MODEL_TPOINT_H
#define VEILGRID_MODEL_TPOINT_H

/// A point in the plane. Points live on the heap and are handed around as TPoint pointers;
/// destroying a TMapPoint through a TPoint pointer is well defined.
class TPoint {
  public:
    TPoint(double DblX, double DblY) : MbrDblX(DblX), MbrDblY(DblY) {}
    virtual ~TPoint() = default;
    TPoint(const TPoint&) = default;
    TPoint& operator=(const TPoint&) = default;

    double GetX() const { return MbrDblX; }
    double GetY() const { return MbrDblY; }
    void SetX(double DblX) { MbrDblX = DblX; }
    void SetY(double DblY) { MbrDblY = DblY; }

    /// A new point with the same ordinates (and, for a TMapPoint, the same value); the caller owns
    /// it.
    [[nodiscard]] virtual TPoint* Clone() const;

    /// The Euclidean distance to PtrOther.
    double Distance(TPoint* PtrOther) const;

  protected:
    double MbrDblX;
    double MbrDblY;
};

/// A point that carries a map value.
class TMapPoint : public TPoint {
  public:
    TMapPoint(double DblX, double DblY, double DblValue = 0)
        : TPoint(DblX, DblY), MbrDblValue(DblValue) {}

    double GetValue() const { return MbrDblValue; }
    void SetValue(double DblValue) { MbrDblValue = DblValue; }

    /// A new TMapPoint with the same ordinates and value; the caller owns it.
    [[nodiscard]] TMapPoint* Clone() const override;

  private:
    double MbrDblValue;
};

#endif
