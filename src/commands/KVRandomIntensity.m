function varargout = KVRandomIntensity(varargin)
% KVRandomIntensity  Scale every sample of the field by a seeded random factor.
%
%   Fout = KVRandomIntensity(seed, Fin)
%
%   seed  starts the random sequence; truncated to an integer
%   Fin   input field
%   Fout  output field, same grid as Fin
%
%   Each sample is multiplied by t = r/32767, r drawn from the toolbox's own
%   15-bit generator (values 0 to 32767) restarted from seed at every call,
%   one draw per sample in storage order. t scales the amplitude, so the
%   phase is kept, the intensity is multiplied by t^2 and a zero sample
%   stays 0. KVRandomPhase with the same seed draws the same values.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 128);
%     F = KVRandomIntensity(7, F);
%     imagesc(KVIntensity(0, F)); axis image
%
%   See also KVRandomPhase, KVMultIntensity, KVIntensity.

error('Korvane:notCompiled', ['KVRandomIntensity is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
