// The seven line samples of a page of the multiple reference view: one beside each of the five
// slots in the slot's graph colour, then the legend's solid and dotted samples.
#pragma once

class CStaticHLine;
class CKZARN_RefBaseForm;

class ZarnViewLineSamples {
public:
    static constexpr int kCount = 7;

    // Creates the samples as controls of the form (ids 1163 to 1167, 1161, 1162) and gives each its
    // colour and style.
    static void Create(CKZARN_RefBaseForm* form, CStaticHLine* (&samples)[kCount]);
};
