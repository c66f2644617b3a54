#include "download/TextCodePage.h"

int TextCodePageForEncoding(int encodingIndex, int languageLcid)
{
    switch (encodingIndex) {
    case 0:
        switch (languageLcid) {
        case 1028:
        case 3076:
        case 5124: return 950;
        case 2052:
        case 4100: return 936;
        default: return 65001;
        }
    case 1: return 936;
    case 2: return 950;
    case 3: return 65001;
    default: return 0;
    }
}
