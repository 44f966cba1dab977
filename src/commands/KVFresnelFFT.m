function varargout = KVFresnelFFT(varargin)
% KVFresnelFFT  Propagate the field over a distance in the Fresnel approximation, by FFT.
%
%   Fout = KVFresnelFFT(z, Fin)
%
%   z     propagation distance, in the unit of size and lambda; negative
%         propagates backwards, 0 returns Fin unchanged
%   Fin   input field, in normal or in spherical coordinates
%   Fout  the propagated field: in normal coordinates on the same grid;
%         in spherical coordinates (below) on the grid that follows the
%         beam
%
%   Paraxial (Fresnel) propagation on the field's own grid, spacing
%   D = size/N, through two FFTs of the N x N samples. The constant phase
%   exp(i*2*pi*z/lambda) is not applied (as in KVForward, which this
%   command agrees with where both are valid, at a fraction of its cost).
%
%   Switch distance zc = N*D^2/lambda = size^2/(N*lambda). For |z| <= zc
%   the transfer function exp(-i*pi*lambda*z*(fx^2 + fy^2)) is used; beyond
%   zc the impulse response exp(i*pi*(x^2 + y^2)/(lambda*z))/(i*lambda*z),
%   sampled on the grid and transformed. Either way the chirp that is
%   sampled changes its phase by at most pi from one sample to the next.
%
%   Spherical coordinates. A field whose curvature c is not 0 (from KVFocus,
%   or from this command) stands for its samples times the phase front
%   exp(i*pi*c*(x^2 + y^2)/lambda) that KVConvert multiplies in. Such a
%   field is propagated in coordinates that follow that front: with
%   m = 1 + c*z, the samples go over z/m on their own grid, the grid's side
%   becomes |m|*size and the curvature c/m (m < 0, past the focus: the grid
%   is inverted). The result equals KVConvert then KVFresnelFFT wherever
%   that is well sampled, and stays sampled where the front would alias on
%   a fixed grid. z = -1/c, the focus itself, is refused
%   (Korvane:badValue): KVFraunhofer gives that plane. See KVFocus for
%   where the coordinates hold near a focus. A curvature that is not finite
%   is refused.
%
%   Sampling advice. The FFT makes the field periodic: light that leaves
%   the grid on one side comes back on the other. Beyond zc the impulse
%   response is cut off at +-size/2, so only the part of the output within
%   size/2 of the input's light is right. Give the beam room: pad with
%   KVPad so that it (and what it spreads into) fills at most the central
%   half of the grid, and crop afterwards. The grid must also resolve the
%   field: its finest detail (a lens or tilt phase, an aperture edge) wants
%   at least two samples per period.
%
%   Paraxial error. Light at angle theta to the axis gets the phase
%   -pi*z*sin(theta)^2/lambda instead of the exact one; the difference is
%   about pi*z*sin(theta)^4/(4*lambda) radians. Where it is not well below 1
%   (steep tilts, high-NA focusing, short distances behind fine structure)
%   use KVAngularSpectrum.
%
%   FFT plans. The first call at a grid size makes FFTW plans at the level
%   KVFftw sets ('measure' by default; the manual's performance page gives
%   the planning times) and later calls reuse them. Another level may change
%   the last bits of the result; the same level gives the same bits (see
%   KVFftw). The multiplication between the transforms runs on
%   KORVANE_NUM_THREADS threads, with the same result for any count.
%
%   Example:
%     F = KVBegin(4e-3, 633e-9, 256);
%     F = KVCircAperture(0.5e-3, 0, 0, F);
%     F = KVPad(512, F);                   % room for the diffracted light
%     F = KVFresnelFFT(0.4, F);            % 0.4 m behind a 1 mm hole
%     F = KVPad(256, F);
%     imagesc(KVIntensity(1, F)); axis image
%
%   See also KVFocus, KVFraunhofer, KVAngularSpectrum, KVPad, KVFftw, KVForward, KVLens, KVBegin.
error('Korvane:notCompiled', 'KVFresnelFFT is not compiled: run "make octave" (Octave) or build_korvane (MATLAB) and add the build folder to the path.');
end
