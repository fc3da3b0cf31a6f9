#include "naturalorder.h"

namespace {

// Negative, zero or positive as a comes before, with or after b.
int naturalCompare(const QString &a, const QString &b, Qt::CaseSensitivity cs)
{
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            int ei = i;
            int ej = j;
            while (ei < a.size() && a[ei].isDigit())
                ++ei;
            while (ej < b.size() && b[ej].isDigit())
                ++ej;
            // Compared by value without converting: leading zeros off, then length, then digits.
            int si = i;
            int sj = j;
            while (si + 1 < ei && a[si] == '0')
                ++si;
            while (sj + 1 < ej && b[sj] == '0')
                ++sj;
            const QStringRef da = a.midRef(si, ei - si);
            const QStringRef db = b.midRef(sj, ej - sj);
            if (da.size() != db.size())
                return da.size() - db.size();
            if (const int c = da.compare(db))
                return c;
            i = ei;
            j = ej;
            continue;
        }
        const QChar ca = cs == Qt::CaseSensitive ? a[i] : a[i].toCaseFolded();
        const QChar cb = cs == Qt::CaseSensitive ? b[j] : b[j].toCaseFolded();
        if (ca != cb)
            return ca.unicode() - cb.unicode();
        ++i;
        ++j;
    }
    return (a.size() - i) - (b.size() - j);
}

} // namespace

bool naturalLess(const QString &a, const QString &b)
{
    if (const int c = naturalCompare(a, b, Qt::CaseSensitive))
        return c < 0;
    return a < b; // "P01" and "P1": still one order
}

bool naturalFileNameLess(const QString &a, const QString &b)
{
    if (const int c = naturalCompare(a, b, Qt::CaseInsensitive))
        return c < 0;
    return naturalLess(a, b);
}
