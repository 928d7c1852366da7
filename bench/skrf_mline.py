"""scikit-rf's MLine over the same 1000 points as tavrel-bench's microstrip
sweep: the first-start microstrip (W 50 um, H 100 um, T 1 um, Er 12.9,
tand 1e-3, silver), 1 to 20 GHz logarithmic, Hammerstad-Jensen with
Kirschning-Jansen dispersion.  Prints the median CPU time of the propagation
constant (with its conductor and dielectric parts) and the impedance, in ms."""
import statistics
import sys
import time
import warnings

warnings.filterwarnings("ignore")
import numpy as np  # noqa: E402
import skrf  # noqa: E402
from skrf.media import MLine  # noqa: E402

freq = skrf.Frequency.from_f(np.logspace(9, np.log10(2e10), 1000), unit="Hz")


def sweep():
    line = MLine(frequency=freq, w=50e-6, h=100e-6, t=1e-6, ep_r=12.9, tand=1e-3,
                 rho=1 / 61.4e6, rough=0, diel="frequencyinvariant",
                 disp="kirschningjansen")
    return line.gamma, line.Z0_f, line.alpha_conductor, line.alpha_dielectric


for _ in range(10):
    sweep()
times = []
for _ in range(int(sys.argv[1]) if len(sys.argv) > 1 else 100):
    start = time.process_time()
    sweep()
    times.append(time.process_time() - start)
print(f"{statistics.median(times) * 1e3:.4f}")
