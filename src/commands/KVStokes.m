function varargout = KVStokes(varargin)
% KVStokes  The Stokes parameters of a beam held as x and y components.
%
%   [S0, S1, S2, S3] = KVStokes(Fx, Fy)
%   S0 = KVStokes(Fx, Fy)
%
%   Fx, Fy  fields of the x and y components (as for KVJones)
%   S0..S3  N x N real arrays, one value per sample:
%             S0 = |Fx|^2 + |Fy|^2          (intensity)
%             S1 = |Fx|^2 - |Fy|^2          (x against y)
%             S2 = 2*Re(conj(Fx).*Fy)       (+45 against -45 degrees)
%             S3 = 2*Im(conj(Fx).*Fy)       (circular)
%   Fewer results give the first ones.
%
%   Handedness: the toolbox's fields carry the time dependence
%   exp(-i*omega*t) (a wave exp(i*(k*z - omega*t)) travels along +z; the
%   signs of KVLens, KVTilt and the propagators follow from it). Then
%   S3 > 0 means that the field vector turns from +x towards +y in time:
%   counter-clockwise for an observer who looks at the oncoming beam,
%   which is left-circular in the optics convention (seen by the
%   receiver) and positive helicity. Fy = 1i*Fx gives S3 = S0.
%
%   S0^2 = S1^2 + S2^2 + S3^2 at every sample: a coherent field is fully
%   polarized. Partial polarization appears only in averages of these maps
%   (over samples or over fields).
%
%   Example (a radially polarized doughnut):
%     F = KVBegin(5e-3, 633e-9, 128);
%     Fx = KVGaussHermite(0, 1, 1, 1e-3, F);   % HG10: x*exp(-r^2/w0^2)
%     Fy = KVGaussHermite(1, 0, 1, 1e-3, F);   % HG01: y*exp(-r^2/w0^2)
%     [S0, S1, S2, S3] = KVStokes(Fx, Fy);     % S1 ~ cos(2*phi), S2 ~ sin(2*phi), S3 = 0
%
%   See also KVJones, KVWavePlate, KVLinearPolarizer, KVPolarizer.

error('Korvane:notCompiled', ['KVStokes is not compiled: run "make octave" (Octave) ' ...
       'or build_korvane (MATLAB), and add the build folder to the path.']);
end
