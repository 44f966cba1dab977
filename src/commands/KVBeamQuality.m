function varargout = KVBeamQuality(varargin)
% KVBeamQuality  Beam propagation ratio M^2, waist and waist position of a field.
%
%   [M2x, M2y, w0x, w0y, z0x, z0y] = KVBeamQuality(Fin)
%
%   Fin       a field in normal coordinates, with positive finite size
%             and wavelength
%   M2x, M2y  beam propagation ratio M^2 along the principal axes (1 for
%             a Gaussian beam, 2m + 1 along x for a Gauss-Hermite mode of
%             m nodes along x)
%   w0x, w0y  waist radii: half the second-moment (D4sigma) diameters at
%             the waist, w0 of a Gaussian exp(-r^2/w0^2)
%   z0x, z0y  waist positions along z relative to Fin's plane; negative:
%             the waist lies behind the plane (a diverging beam)
%   Fewer results give the first ones.
%
%   The figures come from the complex field itself, in one plane; nothing
%   is propagated or fitted. Along a direction x they follow from the
%   intrinsic second moments of the beam: <x^2> of the intensity, <u^2> of
%   the angular spectrum (u = lambda*fx the angle, from the FFT of the
%   samples) and the mixed moment <x*u> = sum(x*Im(conj(E)*dE/dx))/(k*P),
%   the derivative formed spectrally (all moments central):
%     M^2 = (4*pi/lambda)*sqrt(<x^2>*<u^2> - <x*u>^2)
%     z0  = -<x*u>/<u^2>,   w0 = 2*sqrt(<x^2> - <x*u>^2/<u^2>)
%   In free space <x^2>(z) = <x^2> + 2*z*<x*u> + z^2*<u^2> exactly, so these
%   are the figures an ISO 11146 caustic fit to KVBeamWidth's diameters
%   gives, without its sampling of planes.
%
%   The axes are the principal axes of the intensity in this plane, as in
%   KVBeamWidth (phi there). For a simple astigmatic beam they stay fixed
%   along z and the figures are its two M^2 and waists. For a generally
%   astigmatic or twisted beam (a rotated cylindrical lens, a beam with
%   orbital angular momentum) the principal axes turn along z; the figures
%   are then those of the projections of the beam onto the two fixed
%   directions of this plane: M^2 and waist of how the width along each
%   direction evolves. They leave out the cross moments <x*v> - <y*u> (the
%   twist, the orbital angular momentum) and the intrinsic astigmatism,
%   which a single pair of numbers cannot hold: a doughnut HG10 + 1i*HG01
%   and a mix of HG10 and HG01 without the phase both give M^2 = 2.
%
%   The angular spectrum is that of the grid: it reaches only to the
%   Nyquist frequency 1/(2*size/N), and the field is taken as periodic.
%   A hard-edged beam (KVCircAperture, KVRectAperture) has a far field
%   whose second moment diverges (its tails fall as 1/u^2 in intensity):
%   M^2 then grows with the sampling, without bound, and means little.
%   Soften the edge (KVSuperGaussAperture) or quote another width measure.
%   A beam that touches the edge of the grid gives wrong figures too.
%
%   Zero power or non-finite samples raise Korvane:badValue; a field in
%   spherical coordinates is refused (use KVConvert first).
%
%   Example (a Gaussian focused by a lens):
%     F = KVGaussHermite(0, 0, 1, 1e-3, KVBegin(8e-3, 1e-6, 256));
%     [M2x, M2y, w0x, ~, z0x] = KVBeamQuality(KVLens(2, 0, 0, F))
%     % M2x = 1, w0x = 0.537e-3 and z0x = 1.42 (the ABCD law: zR = pi*w^2/lambda,
%     % z0 = f/(1 + (f/zR)^2), w0 = w/sqrt(1 + (zR/f)^2))
%
%   See also KVBeamWidth, KVGaussHermite, KVFresnelFFT.

error('Korvane:notCompiled', ['KVBeamQuality is not compiled: run "make octave" (Octave) ' ...
       'or build_korvane (MATLAB), and add the build folder to the path.']);
end
