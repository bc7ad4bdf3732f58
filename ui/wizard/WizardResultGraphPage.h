// What the wizard needs of its result graph: drawing the run's table with its points, and clearing.
#pragma once

class ZarnLib_Profile;
class CharacteristicPoints;

class WizardResultGraphPage {
public:
    virtual ~WizardResultGraphPage() = default;
    virtual void DrawResult(ZarnLib_Profile* profile, const CharacteristicPoints* points) = 0;
    virtual void ClearGraph() = 0;
    // New marker positions without rebuilding the curve, and a repaint at once.
    virtual void SetPoints(const CharacteristicPoints* /*points*/) {}
    virtual void RepaintGraph() {}
};
