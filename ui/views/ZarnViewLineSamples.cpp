#include "ui/views/ZarnViewLineSamples.h"

#include "core/CKZARN_Common.h"
#include "ui/controls/CStaticHLine.h"
#include "ui/views/CKZARN_RefBaseForm.h"

namespace {

constexpr int kSampleIds[ZarnViewLineSamples::kCount] = {1163, 1164, 1165, 1166, 1167, 1161, 1162};

} // namespace

void ZarnViewLineSamples::Create(CKZARN_RefBaseForm* form, CStaticHLine* (&samples)[kCount])
{
    for (int i = 0; i < kCount; ++i) {
        samples[i] = new CStaticHLine(form);
        form->AddControl(kSampleIds[i], samples[i]);
    }
    for (int i = 0; i < 5; ++i) {
        samples[i]->lineStyle = 0;
        samples[i]->lineColour = CKZARN_Common::GetGraphLineColor(i);
    }
    samples[5]->lineStyle = 0;
    samples[5]->lineColour = CKZARN_Common::GetGraphLineColor(0);
    samples[6]->lineStyle = 1;
    samples[6]->lineColour = CKZARN_Common::GetGraphLineColor(0);
}
