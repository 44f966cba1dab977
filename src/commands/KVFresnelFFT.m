function varargout = KVFresnelFFT(varargin)
% KVFresnelFFT  Propagate the field over a distance in the Fresnel approximation, by FFT.
%
%   Fout = KVFresnelFFT(z, Fin)
%
%   z     propagation distance, in the unit of size and lambda; negative
%         propagates backwards, 0 returns Fin unchanged
%   Fin   input field, in normal coordinates (curvature 0)
%   Fout  the propagated field on the same grid; size, lambda and
%         curvature are those of Fin
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
%   See also KVAngularSpectrum, KVPad, KVFftw, KVForward, KVLens, KVBegin.
error('Korvane:notCompiled', 'KVFresnelFFT is not compiled: run "make octave" (Octave) or build_korvane (MATLAB) and add the build folder to the path.');
end
