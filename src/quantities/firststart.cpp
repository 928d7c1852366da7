#include "quantities/firststart.h"

#include "quantities/materials.h"

const FirstStartValues& FirstStart() {
    static const FirstStartValues values = [] {
        const Dielectric& dielectric = DielectricTable()[kDefaultDielectric];
        const Conductor& conductor = ConductorTable()[kDefaultConductor];
        return FirstStartValues{10e9,
                                0.01,
                                90.0,
                                50.0,
                                180.0,
                                10.0,
                                10.0,
                                0.00001,
                                kDefaultDielectric,
                                kDefaultConductor,
                                dielectric.dielConstant,
                                dielectric.lossTangent,
                                conductor.conductivity};
    }();
    return values;
}
