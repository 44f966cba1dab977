function varargout = KVPhase(varargin)
% KVPhase  The phase of every sample, in radians, as a plain N x N array.
%
%   Phase = KVPhase(Fin)
%
%   Fin    input field
%   Phase  N x N real array in the field's orientation; values from atan2
%          in (-pi, pi], except on the imaginary axis: a sample with real
%          part 0 reads 1.570796327 when its imaginary part is >= 0 (also
%          a zero sample) and 4.712388981 when it is negative.
%
%   Example:
%     F = KVLens(1, 0, 0, KVBegin(5e-3, 633e-9, 256));
%     imagesc(KVPhase(F)); axis image
%
%   See also KVPhaseUnwrap, KVIntensity.

error('Korvane:notCompiled', ['KVPhase is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
