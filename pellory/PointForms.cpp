// Conversion between the entered forms of ground points and the table form.

#include "PointForms.h"

#include <algorithm>

void ToTableForm(EarthPoint* points, int n, double centreElevation, int reference, int elevationType) {
  if (reference == kFromPrevious)
    for (int k = 1; k < n; ++k) points[k].distance += points[k - 1].distance;
  if (elevationType == kElevation) {
    for (int k = 0; k < n; ++k) points[k].height -= centreElevation;
  } else if (reference == kFromPrevious) {
    for (int k = 1; k < n; ++k) points[k].height += points[k - 1].height;
  }
}

void ToEnteredForm(EarthPoint* points, int n, double centreElevation, int reference, int elevationType) {
  if (elevationType == kElevation) {
    for (int k = 0; k < n; ++k) points[k].height += centreElevation;
  } else if (reference == kFromPrevious) {
    for (int k = n - 1; k >= 1; --k) points[k].height -= points[k - 1].height;
  }
  if (reference == kFromPrevious)
    for (int k = n - 1; k >= 1; --k) points[k].distance -= points[k - 1].distance;
}

void RecordToTableForm(earthline& record, int reference, int elevationType) {
  ToTableForm(record.left, std::clamp(record.leftCount, 0, kEarthPointsMax), record.elevation, reference,
              elevationType);
  ToTableForm(record.right, std::clamp(record.rightCount, 0, kEarthPointsMax), record.elevation, reference,
              elevationType);
}
