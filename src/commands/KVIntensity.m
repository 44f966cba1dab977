function varargout = KVIntensity(varargin)
% KVIntensity  The intensity |F|^2 of every sample, as a plain N x N array.
%
%   Intens = KVIntensity(flag, Fin)
%
%   flag    0: no normalization; 1: peak scaled to 1; 2: peak scaled to 255
%           (for a grey-level picture); truncated to an integer
%   Fin     input field
%   Intens  N x N real array in the field's orientation (x along columns,
%           y along rows), ready for imagesc or imwrite
%
%   Scaling a field whose intensities are all zero raises "Cannot
%   normalize: Zero beam power.". NaN samples stay NaN and do not count
%   for the peak.
%
%   Example:
%     F = KVCircAperture(1e-3, 0, 0, KVBegin(5e-3, 633e-9, 256));
%     imwrite(KVIntensity(1, F), 'aperture.png');
%
%   See also KVPhase, KVStrehl, KVNormal.

error('Korvane:notCompiled', ['KVIntensity is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
