function varargout = KVBeamMix(varargin)
% KVBeamMix  Superpose two fields: the sum of their complex samples.
%
%   Fout = KVBeamMix(Fin1, Fin2)
%
%   Fin1, Fin2  input fields on the same grid: equal N and equal size,
%               both in normal coordinates
%   Fout        Fin1 + Fin2, sample by sample, with no weighting
%
%   The result has Fin1's size, curvature and aux_int, and the mean of the
%   two wavelengths. Sizes are compared exactly (a NaN size equals none, so
%   such a field is refused as on another grid). Fields in spherical
%   coordinates are refused: use KVConvert first.
%
%   Example (two tilted beams give fringes):
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVBeamMix(KVTilt(1e-3, 0, F), KVTilt(-1e-3, 0, F));
%     imagesc(KVIntensity(1, F)); axis image
%
%   See also KVPolarizer, KVTilt, KVConvert.

error('Korvane:notCompiled', ['KVBeamMix is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
