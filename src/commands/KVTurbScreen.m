function varargout = KVTurbScreen(varargin)
% KVTurbScreen  A random phase screen of atmospheric turbulence on the field's grid.
%
%   Phase = KVTurbScreen(seed, r0, L0, l0, Fin)
%
%   seed   integer that selects the screen; truncated toward zero, and NaN
%          or a value outside the 32-bit range acts as -2147483648
%   r0     Fried parameter, in the unit of size, for the wavelength the
%          phase is meant for (r0 grows as lambda^(6/5)); > 0, Inf gives a
%          screen of zeros
%   L0     outer scale, > 0; Inf: no outer scale (Kolmogorov turbulence)
%   l0     inner scale, >= 0 and finite; 0: no inner scale
%   Fin    a field; only its grid is used (size and N), so a field in
%          spherical coordinates will do, and the wavelength plays no part
%   Phase  N x N real array, in radians, sample (i, j) at the place every
%          command puts it; add it to a field with KVMultPhase
%
%   The screen is a Gaussian random field with the modified von Karman
%   phase spectrum, in cycles per unit length,
%     PSD(f) = 0.022896 r0^(-5/3) exp(-(f/fm)^2) / (f^2 + f0^2)^(11/6),
%     fm = 5.92/(2*pi*l0),  f0 = 1/L0,
%   whose structure function is
%     D(r) = 4*pi * integral PSD(f) (1 - J0(2*pi*f*r)) f df,
%   6.8839 (r/r0)^(5/3) for Kolmogorov turbulence. KVStructureFunction
%   measures it on a screen.
%
%   Accuracy. The mean structure function of the screens lies within 1 %
%   of D(r) for every separation from 2 to N/4 samples (Kolmogorov, von
%   Karman and modified von Karman turbulence, L0 from size/4 to Inf, N
%   from 64 to 2048; the expected structure function of the construction
%   is computed exactly from its weights), and within 1.3 % while the
%   outer scale spans 13 samples or more. The screen is
%   an FFT screen with eight levels of subharmonics: every FFT cell is
%   weighted by the spectrum at its centre summed over its nearest aliases
%   (so the power above the grid's Nyquist frequency is carried as a
%   sampled continuous screen carries it); the eight cells next to the
%   origin and every subharmonic cell by the integral of PSD*|f|^2 over
%   the cell divided by |f|^2 at its centre (their true share of D at small
%   r); and a random tilt, of the variance that makes the expected D equal
%   the theory at N/4 samples, puts back the tilt that a periodic FFT
%   screen cannot carry.
%
%   The edge. The subharmonics and the tilt are not periodic on the grid,
%   but FFT propagation (KVAngularSpectrum, KVFresnelFFT) is: light
%   propagated through such screens meets a phase jump at the grid edge
%   and carries ripples in from there. Evaluate statistics away from the
%   edge (the central half of the grid), pad the field (KVPad), or absorb
%   at the edge with KVSuperGaussAperture before each propagation step.
%
%   Random numbers. The draws come from Philox4x32-10 (Salmon et al.,
%   "Parallel random numbers: as easy as 1, 2, 3", SC11, 2011), a
%   counter-based generator with a 64-bit key (the seed and a constant of
%   this command) and a 128-bit counter, one counter per spectral cell, so
%   that the screen does not depend on the order of the work; normal
%   deviates by Marsaglia and Tsang's ziggurat method, each from 64 bits
%   (8 for the layer, 1 for the sign, 53 for the position). The same seed
%   gives the same screen bit for bit on one build, in Octave and in
%   MATLAB; across platforms screens differ only by the rounding of the
%   maths library (log, exp, cos) and of FFTW. Different seeds give
%   independent screens. r0 enters only as the factor r0^(-5/6):
%   KVTurbScreen(s, r0/2, L0, l0, F) is 2^(5/6)*KVTurbScreen(s, r0, L0,
%   l0, F) up to rounding.
%
%   The screen's mean over the grid is 0: the piston, which no phase
%   difference sees, is left out.
%
%   Cost: about one FFT of the N x N array (a complex-to-real transform of
%   the half spectrum) and a few passes over it; memory: the result and
%   one half-spectrum scratch array. A grid size that is not a positive
%   number gives NaN everywhere.
%
%   Example (a screen for 2 km of Cn^2 = 1e-14 m^(-2/3) at 1.55 um):
%     F = KVBegin(0.2, 1.55e-6, 256);
%     k = 2*pi/1.55e-6;
%     r0 = (0.423 * k^2 * 1e-14 * 2000)^(-3/5);
%     Phase = KVTurbScreen(1, r0, Inf, 0, F);
%     imagesc(Phase); axis image; colorbar
%
%   See also KVStructureFunction, KVMultPhase, KVAngularSpectrum,
%   KVSuperGaussAperture, KVRandomPhase.

error('Korvane:notCompiled', ['KVTurbScreen is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
