function varargout = KVAngularSpectrum(varargin)
% KVAngularSpectrum  Propagate the field over a distance by its angular spectrum.
%
%   Fout = KVAngularSpectrum(z, Fin)
%
%   z     propagation distance, in the unit of size and lambda; negative
%         propagates backwards, 0 returns Fin unchanged
%   Fin   input field, in normal coordinates (curvature 0); a field in
%         spherical coordinates (from KVFocus or KVFresnelFFT) is refused:
%         its exact kernel has no beam-following form, so convert it first
%         with KVConvert
%   Fout  the propagated field on the same grid; size, lambda and
%         curvature are those of Fin
%
%   Exact scalar propagation, without the paraxial approximation, on the
%   field's own grid (spacing D = size/N): the spectrum of the samples is
%   multiplied by
%     H = exp(i*2*pi*z*(sqrt(1/lambda^2 - fx^2 - fy^2) - 1/lambda)),
%   fx, fy = (bin)/size, and transformed back. The constant phase
%   exp(i*2*pi*z/lambda) is not applied, as in KVForward and KVFresnelFFT,
%   so the three agree where all are valid.
%
%   Evanescent components (fx^2 + fy^2 >= 1/lambda^2) are removed. So is
%   every component whose H would change its phase by more than pi from one
%   frequency sample to the next, |z*fx| > (size/2)*sqrt(1/lambda^2 - fx^2
%   - fy^2) or the same with fy: the band limit of Matsushima and Shimobaba
%   (Opt. Express 17, 19662, 2009), which on the axes reads
%   |fx| <= 1/(lambda*sqrt((2*z/size)^2 + 1)). It keeps long distances free
%   of aliasing; it also means that light steeper than about atan(size/(2*z))
%   is dropped rather than wrapped around.
%
%   Sampling advice. The FFT makes the field periodic: pad with KVPad so
%   that the beam, and what it spreads into over z, fills at most the
%   central half of the grid (padding to 2N also doubles the band limit's
%   reach). The grid holds directions up to sin(theta) = lambda/(2*D) along
%   each axis, so D <= lambda/2 keeps every propagating direction; a
%   coarser grid is fine for a beam that is not steeper than that.
%
%   FFT plans. The first call at a grid size makes FFTW plans at the level
%   KVFftw sets ('measure' by default; the manual's performance page gives
%   the planning times) and later calls reuse them. Another level may change
%   the last bits of the result; the same level gives the same bits (see
%   KVFftw). The multiplication between the transforms runs on
%   KORVANE_NUM_THREADS threads, with the same result for any count.
%
%   Example (a plane wave tilted by 0.5, about 30 degrees, through a slit;
%   KVFresnelFFT moves it by z*sin(theta) instead of z*tan(theta)):
%     F = KVBegin(40e-6, 0.5e-6, 256);
%     F = KVRectAperture(8e-6, 40e-6, 0, 0, 0, F);
%     F = KVTilt(-0.5, 0, F);              % sin(theta) = 0.5 along +x
%     G = KVAngularSpectrum(10e-6, F);
%     imagesc(KVIntensity(1, G)); axis image
%
%   See also KVFresnelFFT, KVPad, KVFftw, KVForward, KVLens, KVTilt.
error('Korvane:notCompiled', 'KVAngularSpectrum is not compiled: run "make octave" (Octave) or build_korvane (MATLAB) and add the build folder to the path.');
end
