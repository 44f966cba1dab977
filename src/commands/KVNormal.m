function varargout = KVNormal(varargin)
% KVNormal  Scale a field to unit power and return its former power.
%
%   [Fout, NC] = KVNormal(Fin)
%
%   Fin   input field
%   Fout  the field scaled so that sum(|F|^2) * (size/N)^2 = 1, same header
%   NC    the power sum(|Fin|^2) * (size/N)^2 of the input (not the factor
%         applied)
%
%   Both outputs must be asked for. A field of zero power (all samples 0,
%   or size 0) raises "Zero beam power".
%
%   Example:
%     F = KVGaussAperture(1e-3, 0, 0, 1, KVBegin(5e-3, 633e-9, 128));
%     [F, P] = KVNormal(F);
%
%   See also KVIntensity, KVStrehl, KVIntAttenuator.

error('Korvane:notCompiled', ['KVNormal is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
