% Korvane: optical toolbox
% Version 1.0.0
%
% Field
%   KVBegin              - Create a new field: a plane wave of amplitude 1 and phase 0.
%   KVCoordinates        - The x and y coordinates of every sample of a field.
%   KVHeader             - The header of a field as a struct.
%   korvane_version      - The version of Korvane, as a string.
%
% Propagation
%   KVForward            - Propagate the field over a distance by direct integration.
%   KVFresnelFFT         - Propagate the field over a distance in the Fresnel approximation, by FFT.
%   KVAngularSpectrum    - Propagate the field over a distance by its angular spectrum.
%   KVInterpol           - Resample the field onto a new grid, shifted, rotated and magnified.
%   KVConvert            - Convert a field from spherical to normal coordinates.
%   KVPad                - Embed the field in a larger grid of the same spacing, or crop it.
%   KVFftw               - Set how FFTW plans the FFT propagators, and save or load FFTW wisdom.
%
% Focusing
%   KVFraunhofer         - The field in the focal plane of a lens, on a grid of any size.
%   KVFocus              - Pass the field through a lens and propagate it, on a grid that follows the beam.
%
% Apertures and screens
%   KVCircAperture       - Pass the field inside a circle, zero it outside.
%   KVCircScreen         - Zero the field inside a circle, pass it outside.
%   KVRectAperture       - Pass the field inside a rotated rectangle, zero it outside.
%   KVRectScreen         - Zero the field inside a rotated rectangle, pass it outside.
%   KVGaussAperture      - Multiply the field by a Gaussian amplitude profile.
%   KVGaussScreen        - Attenuate the field with a Gaussian screen.
%   KVSuperGaussAperture - Multiply the field by a super-Gaussian profile.
%   KVSuperGaussScreen   - Attenuate the field with a super-Gaussian screen.
%
% Phase elements
%   KVLens               - Pass the field through an ideal thin lens.
%   KVTilt               - Tilt the wave front of the field.
%   KVAxicon             - Pass the field through an axicon (a conical lens).
%   KVZernike            - Add one Zernike aberration term to the wave front of the field.
%   KVRandomPhase        - Add a seeded random phase to every sample of the field.
%
% Turbulence
%   KVTurbScreen         - A random phase screen of atmospheric turbulence on the field's grid.
%   KVStructureFunction  - The phase structure function of an N x N array on the field's grid.
%
% Media
%   KVMedium             - Propagate the field through a refractive-index distribution.
%   KVMode               - A guided mode of a refractive-index distribution.
%
% Profiles and modes
%   KVSubIntensity       - Replace the intensity of the field, keeping its phase.
%   KVSubPhase           - Replace the phase of the field, keeping its amplitude.
%   KVMultIntensity      - Multiply the intensity of the field by an array.
%   KVMultPhase          - Add an array of phase shifts to the phase of the field.
%   KVRandomIntensity    - Scale every sample of the field by a seeded random factor.
%   KVGaussHermite       - Put a Gauss-Hermite laser mode TEM(n,m) into the field.
%
% Read-out and analysis
%   KVIntensity          - The intensity |F|^2 of every sample, as a plain N x N array.
%   KVPhase              - The phase of every sample, in radians, as a plain N x N array.
%   KVPhaseUnwrap        - Remove the 2*pi jumps from a square phase array, times K.
%   KVStrehl             - The Strehl ratio of a field: 1 for a flat phase, less otherwise.
%   KVNormal             - Scale a field to unit power and return its former power.
%   KVPower              - The power of a field: the sum of its intensity times the sample area.
%
% Combination
%   KVBeamMix            - Superpose two fields: the sum of their complex samples.
%   KVPolarizer          - Pass a beam held as x and y components through a polarizer.
%   KVGain               - A thin sheet of saturable laser gain.
%   KVIntAttenuator      - Multiply the intensity of a field by a constant factor.
%
% Polarization
%   KVJones              - Apply a Jones matrix to a beam held as x and y components.
%   KVWavePlate          - Pass a beam held as x and y components through a wave plate.
%   KVLinearPolarizer    - Pass a beam held as x and y components through a linear polarizer.
%   KVRotator            - Rotate the polarization of a beam held as x and y components.
%   KVStokes             - The Stokes parameters of a beam held as x and y components.
%
% Beam quality
%   KVBeamWidth          - Centroid and second-moment (D4sigma) diameters of a beam.
%   KVBeamQuality        - Beam propagation ratio M^2, waist and waist position of a field.
